// The frame function: the text layer, the end screens, the grid, the snake and the food, drawn
// from scratch every frame; the game advances in the middle of it.
#pragma once

// Draws one whole frame on the current context (prepared by InitRenderState) and, while the
// game runs, advances it by one frame between the text layer and the board: the score and
// speed on screen are those from before a step, the board shows the state after it. While an
// end screen shows, each frame takes three values from GameRandom for its colour and the game
// stands still. Always true.
bool DrawFrame();
