// What the web platform's parts share. Internal to platform/web.
#pragma once

// Lets the browser run: it presents the canvas, delivers input and runs timers, and the program
// goes on from here afterwards (an Asyncify yield).
void YieldToPage();

// Whether this thread has a current rendering context (wglMakeCurrent on the page's WebGL).
bool WebContextIsCurrent();
