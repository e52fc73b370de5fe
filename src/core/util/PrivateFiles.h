#pragma once

#include <QString>

namespace quillery {

// Keeps what Quillery writes to itself: its folders 0700 and its files 0600,
// whatever the umask, because the book, the logs and the pending
// notifications hold task titles, notes and page names. Symbolic links are
// never followed and nothing owned by another user is touched.
namespace PrivateFiles {

// Creates `path` and any missing folder above it with mode 0700 (folders
// that exist are left as they are). On failure `error` names the folder and
// errno says why.
bool makeDirectory(const QString &path, QString *error = nullptr);

// Creates `path` empty with mode 0600 when it does not exist, so that whoever
// writes it next (SQLite, QSaveFile) keeps that mode; an existing file is
// tightened instead and keeps its contents.
bool makeFile(const QString &path, QString *error = nullptr);

// Takes group and other permissions away from the file or folder at `path`
// when it is this user's. Missing paths are fine.
void tighten(const QString &path);

// Tightens `folder` and everything below it.
void tightenTree(const QString &folder);

// A folder for sockets and scratch files that only this user can enter:
// $XDG_RUNTIME_DIR as Qt finds it (falling back to a 0700 folder of the
// user's own under the temporary folder), checked again here. Empty, with
// the reason in `error`, when no such folder can be had.
QString runtimeDirectory(QString *error = nullptr);

} // namespace PrivateFiles
} // namespace quillery
