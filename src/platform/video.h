// Windows, pictures and input: the video service of the platform layer.
//
// A window is named by a small non-zero handle. Its client area shows what
// was last presented into it, either an 8-bit picture through a 256-colour
// palette (scaled to a destination rectangle, nearest pixel) or whatever was
// written into its 16-bit surface. Input arrives as Windows-style messages,
// with Windows message numbers and virtual key codes, so the player's window
// procedure reads the same values on every back-end.
#pragma once

#include <cstdint>

namespace glint::platform {

using WindowHandle = uint32_t;  // 0: no window

// Message numbers.
inline constexpr uint32_t kWmDestroy = 0x0002;
inline constexpr uint32_t kWmSetFocus = 0x0007;
inline constexpr uint32_t kWmKillFocus = 0x0008;
inline constexpr uint32_t kWmPaint = 0x000F;
inline constexpr uint32_t kWmClose = 0x0010;
inline constexpr uint32_t kWmQuit = 0x0012;
inline constexpr uint32_t kWmKeyDown = 0x0100;
inline constexpr uint32_t kWmKeyUp = 0x0101;
inline constexpr uint32_t kWmChar = 0x0102;
inline constexpr uint32_t kWmSysKeyDown = 0x0104;
inline constexpr uint32_t kWmSysKeyUp = 0x0105;
inline constexpr uint32_t kWmSysCommand = 0x0112;
inline constexpr uint32_t kWmMouseMove = 0x0200;
inline constexpr uint32_t kWmLButtonDown = 0x0201;
inline constexpr uint32_t kWmLButtonUp = 0x0202;
inline constexpr uint32_t kWmRButtonDown = 0x0204;
inline constexpr uint32_t kWmRButtonUp = 0x0205;
inline constexpr uint32_t kWmMouseLeave = 0x02A3;  // the pointer left the client area

// WM_SYSCOMMAND commands.
inline constexpr uint32_t kScMinimize = 0xF020;
inline constexpr uint32_t kScRestore = 0xF120;

// Virtual key codes (letters and digits are their upper-case ASCII codes).
inline constexpr uint32_t kVkBack = 0x08;
inline constexpr uint32_t kVkTab = 0x09;
inline constexpr uint32_t kVkReturn = 0x0D;
inline constexpr uint32_t kVkShift = 0x10;
inline constexpr uint32_t kVkControl = 0x11;
inline constexpr uint32_t kVkMenu = 0x12;
inline constexpr uint32_t kVkEscape = 0x1B;
inline constexpr uint32_t kVkSpace = 0x20;
inline constexpr uint32_t kVkPrior = 0x21;
inline constexpr uint32_t kVkNext = 0x22;
inline constexpr uint32_t kVkEnd = 0x23;
inline constexpr uint32_t kVkHome = 0x24;
inline constexpr uint32_t kVkLeft = 0x25;
inline constexpr uint32_t kVkUp = 0x26;
inline constexpr uint32_t kVkRight = 0x27;
inline constexpr uint32_t kVkDown = 0x28;
inline constexpr uint32_t kVkInsert = 0x2D;
inline constexpr uint32_t kVkDelete = 0x2E;
inline constexpr uint32_t kVkF1 = 0x70;  // F2..F12 follow
inline constexpr uint32_t kVkF10 = 0x79;
inline constexpr uint32_t kVkF12 = 0x7B;

// Modifier and button state carried with each message: what GetKeyState
// would have said when the message was queued.
inline constexpr uint32_t kModShift = 0x1;
inline constexpr uint32_t kModControl = 0x2;
inline constexpr uint32_t kModAlt = 0x4;
inline constexpr uint32_t kModLeftButton = 0x8;
inline constexpr uint32_t kModRightButton = 0x10;

struct Message {
  WindowHandle window = 0;
  uint32_t message = 0;
  uint32_t wparam = 0;  // virtual key, character code (Windows ANSI), or command
  int32_t x = 0;        // mouse position in client coordinates
  int32_t y = 0;
  uint32_t modifiers = 0;
};

// Window styles for create_window.
inline constexpr unsigned kStyleCaption = 0x1;      // a title bar (else a caption-less popup)
inline constexpr unsigned kStyleBorder = 0x2;       // thin border on a caption-less popup
inline constexpr unsigned kStyleDialogFrame = 0x4;  // heavy frame
inline constexpr unsigned kStyleTopmost = 0x8;
inline constexpr unsigned kStyleFullScreen = 0x10;  // covers the screen, picture letterboxed

// show_window commands.
inline constexpr int kShowNormal = 0;  // show, bring to the front, give the focus
inline constexpr int kShowMinimized = 1;
inline constexpr int kShowRestore = 2;
inline constexpr int kShowHidden = 3;

// Formats of the 16-bit surface.
inline constexpr uint32_t kSurfaceNone = 0;
inline constexpr uint32_t kSurface565 = 565;
inline constexpr uint32_t kSurface555 = 555;

struct VideoCaps {
  int32_t screen_width = 640;
  int32_t screen_height = 480;
  int32_t bits_per_pixel = 32;   // of the desktop
  int32_t reserved_colours = 0;  // entries the system keeps at the ends of a palette screen
  uint32_t surface_format = kSurface565;  // the lockable 16-bit surface, if any
  bool full_screen = false;               // a full-screen low-resolution picture can be shown
  bool can_change_resolution = false;
  bool has_mouse = true;
  bool pointer_over_surface =
      false;  // the pointer is drawn into the surface (hide it while writing)
};

struct Rect {
  int32_t x = 0;
  int32_t y = 0;
  int32_t w = 0;
  int32_t h = 0;
};

// An 8-bit picture: `top_row` is the first byte of the top line, rows are
// `pitch` bytes apart (negative for a picture stored bottom line first).
struct Picture8 {
  const uint8_t* top_row = nullptr;
  int32_t pitch = 0;
  int32_t width = 0;
  int32_t height = 0;
};

// A locked 16-bit surface covering the client area. `pitch` is in bytes.
struct Surface {
  uint16_t* pixels = nullptr;
  int32_t pitch = 0;
  int32_t width = 0;
  int32_t height = 0;
  uint32_t format = kSurfaceNone;
};

struct VideoDriver {
  void (*capabilities)(VideoCaps* caps);
  // A window whose client area is w x h at screen position (x, y); 0 on failure.
  WindowHandle (*create_window)(const char* title, int32_t x, int32_t y, int32_t w, int32_t h,
                                unsigned style);
  void (*destroy_window)(WindowHandle window);
  void (*set_title)(WindowHandle window, const char* title);
  // Moves the client area to (x, y) and makes it w x h (w or h 0: keep the size).
  void (*place_window)(WindowHandle window, int32_t x, int32_t y, int32_t w, int32_t h);
  // The client area's screen position and size; false for an unknown window.
  bool (*client_rect)(WindowHandle window, Rect* out);
  void (*show_window)(WindowHandle window, int how);
  bool (*has_focus)(WindowHandle window);
  bool (*is_visible)(WindowHandle window);
  // Maps the `src` rectangle of an 8-bit picture onto the `dst` rectangle
  // of the client area (each output pixel takes the source pixel at the same
  // relative position, truncated) and draws the part of it inside `clip`,
  // through the palette (256 x red, green, blue). Everything is clipped to
  // the picture and the client area here.
  void (*present8)(WindowHandle window, const Picture8& picture, Rect src, Rect dst, Rect clip,
                   const uint8_t* palette_rgb);
  // Paints part of the client area black.
  void (*fill_black)(WindowHandle window, Rect area);
  // Locks the window's 16-bit surface; false when there is none or it cannot
  // be locked now. Unlocking shows the `dirty` part of it.
  bool (*lock_surface)(WindowHandle window, Surface* out);
  void (*unlock_surface)(WindowHandle window, Rect dirty);
  // The next waiting message; false when none is waiting.
  bool (*poll_message)(Message* out);
  // What the user sees in the client area, as red, green, blue bytes, rows
  // top to bottom (w x h x 3 bytes, `capacity` at least that); false when
  // the window is unknown or the buffer is too small.
  bool (*read_pixels)(WindowHandle window, uint8_t* rgb, uint64_t capacity);
  // Changes the desktop resolution; (0, 0) restores the original. False when refused.
  bool (*set_resolution)(int32_t width, int32_t height);
  // Records what the window shows now where the back-end keeps such records.
  void (*snapshot)(WindowHandle window);
  // Where the system pointer is, in client coordinates; false when it is not
  // over the window's client area (or the window is unknown). The system
  // pointer itself is never shown over a window: the player draws its own.
  bool (*pointer_position)(WindowHandle window, int32_t* x, int32_t* y);
  // Moves the system pointer to a point of the client area, where the
  // back-end can; a mouse-move message for the new position follows.
  void (*warp_pointer)(WindowHandle window, int32_t x, int32_t y);
  // True when no input can come any more (the headless back-end's scripted
  // input is used up and nothing waits): a wait for a person gives up then.
  bool (*input_ended)();
};

const VideoDriver& video();

}  // namespace glint::platform
