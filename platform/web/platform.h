// What the web platform's parts share. Internal to platform/web.
#pragma once

// Lets the browser run: it delivers input and runs timers, and the program goes on from here
// afterwards (an Asyncify yield). The frame's wait, which also yields, is where the page shows
// the canvas. sleep.cpp.
void YieldToPage();
// When the program last yielded, in the page's milliseconds (emscripten_get_now).
double LastYieldMillis();

// Starts listening to the page's keyboard, focus and visibility; once. input.cpp.
void ListenToPage();
// When the player last pressed a key, in the page's milliseconds; long ago when never.
double LastKeyDownMillis();

// Whether this thread has a current rendering context (the page's WebGL). gl_context.cpp.
bool WebContextIsCurrent();
// Makes the page's WebGL context, if it can, and starts compiling what draws on it: before the
// game's first question. A failure here is the game's to meet when it asks for a context.
void MakePageContextEarly();

// A file of Data/, embedded in the program: its path from the root ("Data/Font.bmp") and its
// bytes. The build writes the table, in name order, into embedded_files.cpp.
struct EmbeddedFile {
  const char *path;
  const unsigned char *bytes;
  unsigned size;
};
extern const EmbeddedFile EmbeddedFiles[];
extern const unsigned EmbeddedFileCount;
// The embedded file at `path`, from the root ("/Data/Font.bmp") or from the current folder, which
// is the root ("Data/Font.bmp"); null when there is none (a folder is none). files.cpp.
const EmbeddedFile *FindEmbeddedFile(const char *path);
