// The platform layer: every service the player and the library need from the
// operating system beyond plain POSIX files goes through here. Each service is
// a small table of functions; a back-end fills the tables it supports, and the
// table of back-ends below picks one at first use.
#pragma once

#include <cstdint>

namespace glint::platform {

// Message box styles and answers. These are the values that scripts and the
// library's callers pass through unchanged, so they keep their Windows numbers.
inline constexpr unsigned kMbOk = 0x0;
inline constexpr unsigned kMbOkCancel = 0x1;
inline constexpr unsigned kMbAbortRetryIgnore = 0x2;
inline constexpr unsigned kMbYesNoCancel = 0x3;
inline constexpr unsigned kMbYesNo = 0x4;
inline constexpr unsigned kMbRetryCancel = 0x5;
inline constexpr unsigned kMbButtonMask = 0xF;
inline constexpr unsigned kMbIconError = 0x10;
inline constexpr unsigned kMbIconQuestion = 0x20;
inline constexpr unsigned kMbIconWarning = 0x30;
inline constexpr unsigned kMbIconInformation = 0x40;
inline constexpr unsigned kMbIconMask = 0xF0;
inline constexpr unsigned kMbDefButton2 = 0x100;
inline constexpr unsigned kMbDefButton3 = 0x200;
inline constexpr unsigned kMbDefButtonMask = 0xF00;

inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdAbort = 3;
inline constexpr int kIdRetry = 4;
inline constexpr int kIdIgnore = 5;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;

// Time. `micros` is the high-resolution counter (it never goes backwards);
// `ticks` is the coarse millisecond count that the timer compares it with,
// which also runs while the machine sleeps. Sleeping and yielding are how
// every wait in the system passes time: the headless clock advances on them
// instead of really waiting, so a busy loop that only reads the clock would
// never end there.
struct ClockDriver {
  uint64_t (*micros)();
  uint32_t (*ticks)();
  void (*sleep_micros)(uint64_t duration);
  void (*yield)();
};

// Message boxes: caption, text and style as above; returns one of the kId
// answers.
struct DialogDriver {
  int (*message_box)(const char* caption, const char* text, unsigned style);
};

struct VideoDriver;  // platform/video.h
struct AudioDriver;  // platform/audio.h

struct Backend {
  const char* name;
  bool (*available)();  // can this back-end run on this machine now
  const ClockDriver* clock;
  const DialogDriver* dialog;
  const VideoDriver* video;  // windows, pictures and input
  const AudioDriver* audio;  // sound output
};

// The selected back-end. GLINT_PLATFORM=headless or sdl chooses; without it
// SDL is used when it was built and a display can be opened, else headless.
const Backend& backend();
// Forces a back-end by name (tests); false when it is unknown or unavailable.
bool select_backend(const char* name);
bool is_headless();

// Shorthands for the selected back-end's services.
uint64_t micros();
uint32_t millis();  // micros() / 1000, truncated to 32 bits
uint32_t ticks();
void sleep_ms(uint32_t milliseconds);
void sleep_micros(uint64_t microseconds);
void yield();
int message_box(const char* caption, const char* text, unsigned style);

// The answer a box of this style gives when nobody presses anything: its
// default button (the first unless a kMbDefButton flag says otherwise).
int default_answer(unsigned style);

// Debugger output: one line of diagnostic text, to standard error.
void debug_output(const char* text);

// The user profile: an INI file at $GLINT_PROFILE, else
// $XDG_CONFIG_HOME/glinter/profile.ini, else ~/.config/glinter/profile.ini.
// Section and key names compare without regard to case. A missing file,
// section or key gives the default; otherwise the value's leading decimal
// digits count (none, or a minus sign, reads as 0).
int profile_int(const char* section, const char* key, int default_value);

}  // namespace glint::platform
