#pragma once

#include "AttachmentPicker.h"

namespace quillery::ui {

// The desktop's file dialog (through its portal where Qt uses one), shown
// window-modal and without blocking: photos start in the pictures folder and
// are limited to the image types this program can decode.
class DialogAttachmentPicker final : public AttachmentPicker
{
public:
    void pickPhotos(QWidget *parent, Done done) override;
    void pickFiles(QWidget *parent, Done done) override;
};

} // namespace quillery::ui
