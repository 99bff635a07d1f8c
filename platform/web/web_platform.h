// What the web platform's parts share. Internal to platform/web.
#pragma once

// Lets the browser run: it presents the canvas, delivers input and runs timers, and the program
// goes on from here afterwards (an Asyncify yield).
void YieldToPage();
// Notes that the page has just had its time (the frame's wait yielded to a display frame), so
// that the empty message queue need not yield again soon.
void PageHadItsTurn();

// Whether this thread has a current rendering context (wglMakeCurrent on the page's WebGL).
bool WebContextIsCurrent();
// Starts making the page's WebGL context once the page has painted, without waiting for it.
void WarmPageContext();
