// Controls of the headless video service, for tests and scripted runs.
//
// Windows live in memory. Each present draws into the window's picture of
// what the user would see; snapshots of it are written as binary PPM files
// into $GLINT_SNAPSHOT_DIR ("snapshot-0001.ppm", numbered in order) when a
// window is destroyed, when asked for, and after every present when
// GLINT_SNAPSHOT_EVERY=1. Input comes from $GLINT_INPUT (input_script.h) and
// from post_message. Everything runs on the calling thread.
#pragma once

#include <string>
#include <string_view>

#include "platform/video.h"

namespace glint::platform::headless {

// The capabilities reported from now on. The defaults: 640 x 480 at 32 bits,
// no reserved colours, a 5-6-5 surface, full-screen windows available; the
// variable GLINT_HEADLESS_SCREEN changes them ("WxH[xBITS][,reserved=N]
// [,surface=565|555|none][,nofullscreen]").
void set_video_caps(const VideoCaps& caps);
VideoCaps video_caps();
// Back to the defaults (and GLINT_HEADLESS_SCREEN).
void reset_video_caps();
// Makes every lock of a 16-bit surface fail while on.
void set_lock_failures(bool on);

// The window that scripted and posted input goes to: the newest one alive.
WindowHandle current_window();
// Queues a message for the current window (its window field is filled in).
void post_message(const Message& message);
// Replaces the scripted input with this text (same format as GLINT_INPUT).
void load_input(std::string_view text);
// Message pumps so far (polls that found nothing waiting).
uint64_t pumps();
// Snapshot files written so far, and the path of the last one.
unsigned snapshots_written();
std::string last_snapshot();

// Destroys every window and forgets queued and scripted input (tests).
void reset_video();

}  // namespace glint::platform::headless
