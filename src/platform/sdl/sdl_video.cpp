// The SDL2 video service: one SDL window and renderer per window. The
// client area is kept in memory (video_canvas.h) and uploaded to a streaming
// texture: 32-bit for pictures presented through a palette, RGB565 for the
// 16-bit surface that accelerated copies write into.
#include <SDL.h>

#include <algorithm>
#include <cstddef>
#include <deque>
#include <map>
#include <string>

#include "platform/input_keys.h"
#include "platform/video_canvas.h"
#include "platform/video_drivers.h"

namespace glint::platform {
namespace {

struct Window {
  SDL_Window* sdl = nullptr;
  SDL_Renderer* renderer = nullptr;
  SDL_Texture* texture32 = nullptr;
  SDL_Texture* texture16 = nullptr;
  bool showing_surface = false;  // the 16-bit texture is what is shown
  bool texture32_stale = false;  // the 32-bit texture misses surface writes
  unsigned style = 0;
  Canvas canvas;
};

struct State {
  WindowHandle next_handle = 1;
  std::map<WindowHandle, Window> windows;
  std::deque<Message> pending;
};

State& state() {
  static State s;
  return s;
}

Window* find(WindowHandle handle) {
  auto it = state().windows.find(handle);
  return it == state().windows.end() ? nullptr : &it->second;
}

WindowHandle handle_of(Uint32 sdl_id) {
  for (auto& [handle, w] : state().windows)
    if (SDL_GetWindowID(w.sdl) == sdl_id) return handle;
  return 0;
}

void drop_textures(Window& w) {
  if (w.texture32) SDL_DestroyTexture(w.texture32);
  if (w.texture16) SDL_DestroyTexture(w.texture16);
  w.texture32 = w.texture16 = nullptr;
}

bool ensure_textures(Window& w) {
  if (w.canvas.width <= 0 || w.canvas.height <= 0) return false;
  if (!w.texture32)
    w.texture32 = SDL_CreateTexture(w.renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING,
                                    w.canvas.width, w.canvas.height);
  if (!w.texture16)
    w.texture16 = SDL_CreateTexture(w.renderer, SDL_PIXELFORMAT_RGB565, SDL_TEXTUREACCESS_STREAMING,
                                    w.canvas.width, w.canvas.height);
  return w.texture32 && w.texture16;
}

void render(Window& w) {
  SDL_SetRenderDrawColor(w.renderer, 0, 0, 0, 255);
  SDL_RenderClear(w.renderer);
  SDL_RenderCopy(w.renderer, w.showing_surface ? w.texture16 : w.texture32, nullptr, nullptr);
}

void upload32(Window& w, Rect r) {
  if (!ensure_textures(w)) return;
  if (w.texture32_stale) {
    r = Rect{0, 0, w.canvas.width, w.canvas.height};
    w.texture32_stale = false;
  }
  if (r.w > 0 && r.h > 0) {
    const SDL_Rect area{r.x, r.y, r.w, r.h};
    SDL_UpdateTexture(w.texture32, &area,
                      w.canvas.rgb.data() + size_t(r.y) * size_t(w.canvas.width) + size_t(r.x),
                      w.canvas.width * 4);
  }
  w.showing_surface = false;
  render(w);
  SDL_RenderPresent(w.renderer);
}

void get_caps(VideoCaps* out) {
  *out = VideoCaps{};
  SDL_DisplayMode mode;
  if (SDL_GetDesktopDisplayMode(0, &mode) == 0) {
    out->screen_width = mode.w;
    out->screen_height = mode.h;
    const int bits = int(SDL_BITSPERPIXEL(mode.format));
    out->bits_per_pixel = bits > 16 ? 32 : bits;
  }
  out->reserved_colours = 0;  // SDL keeps no colours of its own
  out->surface_format = kSurface565;
  out->full_screen = true;
  out->has_mouse = true;
  out->pointer_over_surface = false;  // the pointer is drawn by the window system, over the texture
}

WindowHandle create_window(const char* title, int32_t x, int32_t y, int32_t w, int32_t h,
                           unsigned style) {
  if (w <= 0 || h <= 0 || w > 16384 || h > 16384) return 0;
  Uint32 flags = SDL_WINDOW_HIDDEN;
  if (!(style & kStyleCaption)) flags |= SDL_WINDOW_BORDERLESS;
  if (style & kStyleTopmost) flags |= SDL_WINDOW_ALWAYS_ON_TOP;
  if (style & kStyleFullScreen) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
  const int px = x == -1 ? int(SDL_WINDOWPOS_CENTERED) : x;
  const int py = y == -1 ? int(SDL_WINDOWPOS_CENTERED) : y;
  Window window;
  window.style = style;
  window.sdl = SDL_CreateWindow(title ? title : "", px, py, w, h, flags);
  if (!window.sdl) return 0;
  window.renderer = SDL_CreateRenderer(window.sdl, -1, 0);
  if (!window.renderer) window.renderer = SDL_CreateRenderer(window.sdl, -1, SDL_RENDERER_SOFTWARE);
  if (!window.renderer) {
    SDL_DestroyWindow(window.sdl);
    return 0;
  }
  // Full-screen pictures keep their own size, letterboxed on the screen.
  if (style & kStyleFullScreen) SDL_RenderSetLogicalSize(window.renderer, w, h);
  canvas_resize(window.canvas, w, h);
  SDL_StartTextInput();
  // The player draws its own pointer; the system's stays hidden over the window.
  SDL_ShowCursor(SDL_DISABLE);
  const WindowHandle handle = state().next_handle++;
  state().windows.emplace(handle, window);
  return handle;
}

void destroy_window(WindowHandle handle) {
  Window* w = find(handle);
  if (!w) return;
  drop_textures(*w);
  SDL_DestroyRenderer(w->renderer);
  SDL_DestroyWindow(w->sdl);
  state().windows.erase(handle);
  if (state().windows.empty()) SDL_ShowCursor(SDL_ENABLE);
  auto& pending = state().pending;
  pending.erase(std::remove_if(pending.begin(), pending.end(),
                               [handle](const Message& m) { return m.window == handle; }),
                pending.end());
}

void set_title(WindowHandle handle, const char* title) {
  if (Window* w = find(handle)) SDL_SetWindowTitle(w->sdl, title ? title : "");
}

void place_window(WindowHandle handle, int32_t x, int32_t y, int32_t width, int32_t height) {
  Window* w = find(handle);
  if (!w) return;
  if (!(w->style & kStyleFullScreen)) SDL_SetWindowPosition(w->sdl, x, y);
  if (width > 0 && height > 0 && width <= 16384 && height <= 16384 &&
      (width != w->canvas.width || height != w->canvas.height)) {
    if (w->style & kStyleFullScreen)
      SDL_RenderSetLogicalSize(w->renderer, width, height);
    else
      SDL_SetWindowSize(w->sdl, width, height);
    drop_textures(*w);
    canvas_resize(w->canvas, width, height);
  }
}

bool client_rect(WindowHandle handle, Rect* out) {
  Window* w = find(handle);
  if (!w) return false;
  int x = 0, y = 0;
  SDL_GetWindowPosition(w->sdl, &x, &y);
  *out = Rect{x, y, w->canvas.width, w->canvas.height};
  return true;
}

void show_window(WindowHandle handle, int how) {
  Window* w = find(handle);
  if (!w) return;
  switch (how) {
    case kShowNormal:
      SDL_ShowWindow(w->sdl);
      SDL_RaiseWindow(w->sdl);
      break;
    case kShowMinimized:
      SDL_MinimizeWindow(w->sdl);
      break;
    case kShowRestore:
      SDL_RestoreWindow(w->sdl);
      break;
    default:
      SDL_HideWindow(w->sdl);
      break;
  }
}

bool has_focus(WindowHandle handle) {
  const Window* w = find(handle);
  return w && (SDL_GetWindowFlags(w->sdl) & SDL_WINDOW_INPUT_FOCUS);
}

bool is_visible(WindowHandle handle) {
  const Window* w = find(handle);
  if (!w) return false;
  const Uint32 flags = SDL_GetWindowFlags(w->sdl);
  return (flags & SDL_WINDOW_SHOWN) && !(flags & (SDL_WINDOW_MINIMIZED | SDL_WINDOW_HIDDEN));
}

void present8(WindowHandle handle, const Picture8& picture, Rect src, Rect dst, Rect clip,
              const uint8_t* palette) {
  Window* w = find(handle);
  if (!w) return;
  upload32(*w, canvas_present8(w->canvas, picture, src, dst, clip, palette));
}

// Sends a rectangle of the 16-bit surface to its texture.
void upload16(Window& w, const Rect& r) {
  const SDL_Rect rect{r.x, r.y, r.w, r.h};
  SDL_UpdateTexture(w.texture16, &rect,
                    w.canvas.surface.data() + size_t(r.y) * size_t(w.canvas.width) + size_t(r.x),
                    w.canvas.width * 2);
}

void fill_black(WindowHandle handle, Rect area) {
  Window* w = find(handle);
  if (!w) return;
  canvas_fill_black(w->canvas, area);
  const Rect r = clip_rect(area, w->canvas.width, w->canvas.height);
  if (!w->showing_surface) {
    upload32(*w, r);
    return;
  }
  if (r.w > 0 && r.h > 0 && ensure_textures(*w)) upload16(*w, r);
  w->texture32_stale = true;
}

bool lock_surface(WindowHandle handle, Surface* out) {
  Window* w = find(handle);
  if (!w || !ensure_textures(*w)) return false;
  *out = canvas_surface(w->canvas, kSurface565);
  return true;
}

void unlock_surface(WindowHandle handle, Rect dirty) {
  Window* w = find(handle);
  if (!w || !ensure_textures(*w)) return;
  // Switching from the 32-bit picture: the texture's old contents are
  // undefined, so the whole surface goes up once.
  const Rect r = canvas_surface_to_rgb(
      w->canvas,
      w->showing_surface ? dirty : Rect{0, 0, w->canvas.width, w->canvas.height});
  if (r.w > 0 && r.h > 0) upload16(*w, r);
  w->showing_surface = true;
  w->texture32_stale = true;
  render(*w);
  SDL_RenderPresent(w->renderer);
}

uint32_t virtual_key(SDL_Keycode key) {
  if (key >= SDLK_a && key <= SDLK_z) return uint32_t('A' + (key - SDLK_a));
  if (key >= SDLK_0 && key <= SDLK_9) return uint32_t('0' + (key - SDLK_0));
  if (key >= SDLK_F1 && key <= SDLK_F12) return kVkF1 + uint32_t(key - SDLK_F1);
  switch (key) {
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
      return kVkReturn;
    case SDLK_ESCAPE:
      return kVkEscape;
    case SDLK_BACKSPACE:
      return kVkBack;
    case SDLK_TAB:
      return kVkTab;
    case SDLK_SPACE:
      return kVkSpace;
    case SDLK_PAGEUP:
      return kVkPrior;
    case SDLK_PAGEDOWN:
      return kVkNext;
    case SDLK_END:
      return kVkEnd;
    case SDLK_HOME:
      return kVkHome;
    case SDLK_LEFT:
      return kVkLeft;
    case SDLK_UP:
      return kVkUp;
    case SDLK_RIGHT:
      return kVkRight;
    case SDLK_DOWN:
      return kVkDown;
    case SDLK_INSERT:
      return kVkInsert;
    case SDLK_DELETE:
      return kVkDelete;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT:
      return kVkShift;
    case SDLK_LCTRL:
    case SDLK_RCTRL:
      return kVkControl;
    case SDLK_LALT:
    case SDLK_RALT:
      return kVkMenu;
    default:
      return 0;
  }
}

uint32_t modifiers_of(Uint16 mod) {
  uint32_t m = 0;
  if (mod & KMOD_SHIFT) m |= kModShift;
  if (mod & KMOD_CTRL) m |= kModControl;
  if (mod & KMOD_ALT) m |= kModAlt;
  return m;
}

uint32_t buttons_now() {
  const Uint32 b = SDL_GetMouseState(nullptr, nullptr);
  return (b & SDL_BUTTON_LMASK ? kModLeftButton : 0) | (b & SDL_BUTTON_RMASK ? kModRightButton : 0);
}

void translate(const SDL_Event& e) {
  auto& out = state().pending;
  switch (e.type) {
    case SDL_QUIT:
      out.push_back(Message{0, kWmQuit, 0, 0, 0, 0});
      break;
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      const WindowHandle window = handle_of(e.key.windowID);
      const uint32_t vk = virtual_key(e.key.keysym.sym);
      if (!window || !vk) break;
      const uint32_t m = modifiers_of(e.key.keysym.mod);
      const bool system = (m & kModAlt) || vk == kVkF10;
      if (e.type == SDL_KEYUP) {
        out.push_back(Message{window, system ? kWmSysKeyUp : kWmKeyUp, vk, 0, 0, m});
        break;
      }
      out.push_back(Message{window, system ? kWmSysKeyDown : kWmKeyDown, vk, 0, 0, m});
      // Printable characters come as text input; control characters do not.
      const int c = key_character(vk, m, false);
      if (c >= 0) out.push_back(Message{window, kWmChar, uint32_t(c), 0, 0, m});
      break;
    }
    case SDL_TEXTINPUT: {
      const WindowHandle window = handle_of(e.text.windowID);
      if (!window) break;
      std::vector<Message> chars;
      text_messages(window, e.text.text, modifiers_of(SDL_GetModState()), chars);
      out.insert(out.end(), chars.begin(), chars.end());
      break;
    }
    case SDL_MOUSEMOTION: {
      const WindowHandle window = handle_of(e.motion.windowID);
      if (window)
        out.push_back(
            Message{window, kWmMouseMove, buttons_now(), e.motion.x, e.motion.y, buttons_now()});
      break;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      const WindowHandle window = handle_of(e.button.windowID);
      const bool down = e.type == SDL_MOUSEBUTTONDOWN;
      uint32_t message = 0;
      if (e.button.button == SDL_BUTTON_LEFT) message = down ? kWmLButtonDown : kWmLButtonUp;
      if (e.button.button == SDL_BUTTON_RIGHT) message = down ? kWmRButtonDown : kWmRButtonUp;
      if (window && message)
        out.push_back(
            Message{window, message, buttons_now(), e.button.x, e.button.y, buttons_now()});
      break;
    }
    case SDL_WINDOWEVENT: {
      const WindowHandle window = handle_of(e.window.windowID);
      if (!window) break;
      switch (e.window.event) {
        case SDL_WINDOWEVENT_FOCUS_GAINED:
          out.push_back(Message{window, kWmSetFocus, 0, 0, 0, 0});
          break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
          out.push_back(Message{window, kWmKillFocus, 0, 0, 0, 0});
          break;
        case SDL_WINDOWEVENT_CLOSE:
          out.push_back(Message{window, kWmClose, 0, 0, 0, 0});
          break;
        case SDL_WINDOWEVENT_LEAVE:
          out.push_back(Message{window, kWmMouseLeave, 0, 0, 0, 0});
          break;
        case SDL_WINDOWEVENT_EXPOSED:
          out.push_back(Message{window, kWmPaint, 0, 0, 0, 0});
          break;
        case SDL_WINDOWEVENT_MINIMIZED:
          out.push_back(Message{window, kWmSysCommand, kScMinimize, 0, 0, 0});
          break;
        case SDL_WINDOWEVENT_RESTORED:
          out.push_back(Message{window, kWmSysCommand, kScRestore, 0, 0, 0});
          break;
        default:
          break;
      }
      break;
    }
    default:
      break;
  }
}

bool poll_message(Message* out) {
  auto& pending = state().pending;
  SDL_Event e;
  while (pending.empty() && SDL_PollEvent(&e)) translate(e);
  if (pending.empty()) return false;
  *out = pending.front();
  pending.pop_front();
  return true;
}

bool read_pixels(WindowHandle handle, uint8_t* rgb, uint64_t capacity) {
  Window* w = find(handle);
  if (!w || !rgb || capacity < uint64_t(w->canvas.rgb.size()) * 3) return false;
  int out_w = 0, out_h = 0;
  if (!(w->style & kStyleFullScreen) && ensure_textures(*w) &&
      SDL_GetRendererOutputSize(w->renderer, &out_w, &out_h) == 0 && out_w == w->canvas.width &&
      out_h == w->canvas.height) {
    // Read what the renderer draws, not our own copy of it.
    render(*w);
    if (SDL_RenderReadPixels(w->renderer, nullptr, SDL_PIXELFORMAT_RGB24, rgb,
                             w->canvas.width * 3) == 0)
      return true;
  }
  canvas_read_rgb(w->canvas, rgb);
  return true;
}

// The desktop is not ours to change; putting it back always succeeds.
bool set_resolution(int32_t width, int32_t height) { return width == 0 && height == 0; }

void snapshot(WindowHandle) {}

// A full-screen window letterboxes its picture: window pixels are mapped to
// the picture's (logical) coordinates.
bool pointer_position(WindowHandle handle, int32_t* x, int32_t* y) {
  Window* w = find(handle);
  if (!w || SDL_GetMouseFocus() != w->sdl) return false;
  int mx = 0, my = 0;
  SDL_GetMouseState(&mx, &my);
  int out_x = mx, out_y = my;
#if SDL_VERSION_ATLEAST(2, 0, 18)
  if (w->style & kStyleFullScreen) {
    float lx = 0, ly = 0;
    SDL_RenderWindowToLogical(w->renderer, mx, my, &lx, &ly);
    out_x = int(lx);
    out_y = int(ly);
  }
#endif
  if (out_x < 0 || out_y < 0 || out_x >= w->canvas.width || out_y >= w->canvas.height) return false;
  *x = out_x;
  *y = out_y;
  return true;
}

void warp_pointer(WindowHandle handle, int32_t x, int32_t y) {
  Window* w = find(handle);
  if (!w) return;
  int wx = x, wy = y;
#if SDL_VERSION_ATLEAST(2, 0, 18)
  if (w->style & kStyleFullScreen)
    SDL_RenderLogicalToWindow(w->renderer, float(x), float(y), &wx, &wy);
#endif
  SDL_WarpMouseInWindow(w->sdl, wx, wy);
}

// A person may always press something yet.
bool input_ended() { return false; }

}  // namespace

const VideoDriver sdl_video{get_caps,       create_window,    destroy_window, set_title,
                            place_window,   client_rect,      show_window,    has_focus,
                            is_visible,     present8,         fill_black,     lock_surface,
                            unlock_surface, poll_message,     read_pixels,    set_resolution,
                            snapshot,       pointer_position, warp_pointer,   input_ended};

}  // namespace glint::platform
