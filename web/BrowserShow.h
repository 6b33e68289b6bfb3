// BrowserShow: plays a built show in the page: the browser's timer calls its
// frames, Escape or the page's Stop button ends it, and the page hears of the start
// and the end. Takes ownership of the show and releases it when the show ends.
#pragma once

#include <memory>

class ShowLoop;

// Starts at the show time the page asks for (Module.dedozStartMs, milliseconds; 0
// or absent: the beginning), starts the music and returns; the frames then run
// every Engine::FRAME_MS from the browser's timer until the show ends, a quit is
// requested or a frame throws (its message goes to the console).
void playInBrowser(std::unique_ptr<ShowLoop> show);
