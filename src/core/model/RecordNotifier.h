#pragma once

#include "Field.h"

#include <QObject>

namespace quillery {

// The signals of one record. A book holds a million records and only the few
// on screen are watched, so a record is not a QObject itself: its notifier is
// made the first time something connects to it or holds it weakly
// (`RecordPointer`), and destroyed with the record. A record nobody watches
// emits nothing.
class RecordNotifier : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

Q_SIGNALS:
    void idChanged();
    void createdChanged();
    // After any field's own signal.
    void changed(quillery::Field field);
};

// A task's signals, one per field.
class TaskNotifier final : public RecordNotifier
{
    Q_OBJECT
public:
    using RecordNotifier::RecordNotifier;

Q_SIGNALS:
    void textChanged();
    void doneChanged();
    void orderChanged();
    void dueChanged();
    void alarmChanged();
    void notesChanged();
    void placeNameChanged();
    void placeAddressChanged();
    void latitudeChanged();
    void longitudeChanged();
    void indentChanged();
    void repeatChanged();
    void pageChanged();
    void attachmentsChanged();
};

// A page's signals.
class PageNotifier final : public RecordNotifier
{
    Q_OBJECT
public:
    using RecordNotifier::RecordNotifier;

Q_SIGNALS:
    void positionChanged();
    void titleChanged();
    void colorIndexChanged();
    // A task joined or left the page (not emitted for changes inside a task).
    void tasksChanged();
};

// An attachment's signals.
class AttachmentNotifier final : public RecordNotifier
{
    Q_OBJECT
public:
    using RecordNotifier::RecordNotifier;

Q_SIGNALS:
    void nameChanged();
    void typeIdentifierChanged();
    void dataChanged();
    void taskChanged();
};

} // namespace quillery
