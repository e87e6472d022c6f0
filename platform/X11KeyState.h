#pragma once

// The keyboard indicators of the X server. Without an X display (other
// platforms, the offscreen platform) there is nothing to ask.

// Sets on to the Caps Lock indicator and returns true, or returns false when
// no X display is available.
bool QueryX11CapsLock(bool& on);

// Whether the running application talks to an X server (native key codes and
// modifier states of key events are X's).
bool IsX11Platform();
