#pragma once

#include <QString>

namespace quillery::test {

// Points HOME and the XDG directories at a fresh temporary folder so that no
// test ever reads or writes the real user's books, settings or logs. Called
// by the test mains before the application object exists.
void isolateUserDirectories();

// The temporary home made by isolateUserDirectories().
QString temporaryHome();

// A folder of bundled test inputs (tests/data).
QString testDataPath(const QString &relative);

} // namespace quillery::test
