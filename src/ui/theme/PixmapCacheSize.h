#pragma once

namespace quillery::ui {

// The application's pixmap cache keeps what the views draw again and again:
// page sheets, grain tiles, soft shadows and symbols. Qt's default (10 MB)
// holds barely one page sheet on a doubled screen; this makes room for both
// faces of the book, a page on its way in, the task card and their shadows.
// Called once by a program's main, after the application object exists.
void reservePixmapCache();

// Empties the pixmap cache and hands the heap's free pages back to the
// system, once the window and its pictures are gone.
void releaseWindowMemory();

} // namespace quillery::ui
