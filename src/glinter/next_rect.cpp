// GlintNextRect: the change map of the last decoded frame as rectangles to
// copy, merged while little is copied needlessly, aligned to 8 pixels.
#include <algorithm>
#include <new>

#include "glinter/glint_record.h"

using namespace glint::glinter;

namespace {

constexpr size_t kMaxKept = 4;

uint64_t area(const Rect& r) { return uint64_t(r.w) * r.h; }

Rect bounding(const Rect& a, const Rect& b) {
  uint32_t x0 = std::min(a.x, b.x), y0 = std::min(a.y, b.y);
  uint32_t x1 = std::max(a.x + a.w, b.x + b.w), y1 = std::max(a.y + a.h, b.y + b.h);
  return {x0, y0, x1 - x0, y1 - y0};
}

bool shares_full_edge(const Rect& a, const Rect& b) {
  if (a.x == b.x && a.w == b.w) return a.y + a.h == b.y || b.y + b.h == a.y;
  if (a.y == b.y && a.h == b.h) return a.x + a.w == b.x || b.x + b.w == a.x;
  return false;
}

// One changed stretch of blocks within a block row, in picture pixels.
std::vector<Rect> changed_segments(const OutputDescriptor& out) {
  std::vector<Rect> segments;
  const uint64_t per_row = out.blocks_per_row;
  const uint64_t total = per_row * out.block_rows;
  const uint64_t groups = (total + 15) / 16;
  for (uint64_t g = 0; g < groups;) {
    if (!out.change_map[g]) {
      ++g;
      continue;
    }
    uint64_t end = g;
    while (end < groups && out.change_map[end]) ++end;
    uint64_t first = 16 * g, last = std::min(16 * end, total);
    while (first < last) {
      uint64_t bx = first % per_row, by = first / per_row;
      uint64_t count = std::min(last - first, per_row - bx);
      segments.push_back({uint32_t(bx * 4), uint32_t(by * 4), uint32_t(count * 4), 4});
      first += count;
    }
    g = end;
  }
  return segments;
}

Rect place(const Glint* glint, Rect r) {
  const uint32_t dest_x = glint->dest_x;
  r.x += dest_x;
  uint32_t aligned = r.x & ~7u;
  if (aligned >= dest_x) {
    r.w += r.x - aligned;
    r.x = aligned;
  }
  uint32_t wide = (r.w + 7) & ~7u;
  if (uint64_t(r.x) + wide <= uint64_t(dest_x) + glint->width) r.w = wide;
  if (glint->mode_flags & (GLINT_INTERLACED | GLINT_DOUBLED)) {
    r.y *= 2;
    r.h *= 2;
  }
  r.y += glint->dest_y;
  return r;
}

void build_rects(Glint* glint, GlintState& state, int kind) {
  std::vector<Rect> finished;
  std::vector<Rect> segments = changed_segments(*state.output);
  if (segments.empty()) {
    if (state.decoded_palette_change) state.rects.push_back(Rect{});
    return;
  }
  if (kind == 1) {
    Rect all = segments[0];
    for (const Rect& s : segments) all = bounding(all, s);
    finished.push_back(place(glint, all));
  } else {
    Rect current = segments[0];
    uint64_t covered = area(current);
    for (size_t i = 1; i < segments.size(); ++i) {
      Rect merged = bounding(current, segments[i]);
      uint64_t with = covered + area(segments[i]);
      if (area(merged) * 4 <= with * 5) {
        current = merged;
        covered = with;
      } else {
        finished.push_back(place(glint, current));
        current = segments[i];
        covered = area(current);
      }
    }
    finished.push_back(place(glint, current));
  }
  // Keep up to four; a new one that shares a full edge with a kept one is
  // joined to it.
  std::deque<Rect> kept;
  for (const Rect& r : finished) {
    auto joined = std::find_if(kept.begin(), kept.end(),
                               [&](const Rect& k) { return shares_full_edge(k, r); });
    if (joined != kept.end()) {
      *joined = bounding(*joined, r);
      continue;
    }
    if (kept.size() == kMaxKept) {
      state.rects.push_back(kept.front());
      kept.pop_front();
    }
    kept.push_back(r);
  }
  state.rects.insert(state.rects.end(), kept.begin(), kept.end());
}

}  // namespace

extern "C" ORX_API int GlintNextRect(Glint* glint, int kind) {
  GlintState* state = state_of(glint);
  if (!state || !state->output || kind == 2) return 0;
  if (state->rects_fresh) {
    state->rects_fresh = false;
    state->rects.clear();
    try {
      build_rects(glint, *state, kind);
    } catch (const std::bad_alloc&) {
      // Without memory for the list the caller copies the whole picture.
      state->rects.assign(1, Rect{glint->dest_x, glint->dest_y, glint->width, glint->height});
    }
  }
  if (state->rects.empty()) return 0;
  Rect r = state->rects.front();
  state->rects.pop_front();
  glint->update_x = r.x;
  glint->update_y = r.y;
  glint->update_w = r.w;
  glint->update_h = r.h;
  return 1;
}
