#pragma once

#include <QStringList>

#include <functional>

class QWidget;

namespace quillery::ui {

// Asks the user for photos or files to attach. The program uses the
// desktop's file dialogs (DialogAttachmentPicker); tests answer directly.
// `done` receives the chosen local files in the order they were chosen, and
// is not called when the user cancels.
class AttachmentPicker
{
public:
    using Done = std::function<void(const QStringList &paths)>;

    virtual ~AttachmentPicker() = default;
    // Images only, several at a time.
    virtual void pickPhotos(QWidget *parent, Done done) = 0;
    // Any file, several at a time.
    virtual void pickFiles(QWidget *parent, Done done) = 0;
};

} // namespace quillery::ui
