#include "glinter/huff_coder.h"

#include <deque>
#include <functional>
#include <map>
#include <new>

namespace glint::glinter {

namespace {

constexpr uint32_t kNodeBase = 0x10000;  // a child >= this is node (child - kNodeBase)

struct Node {
  uint32_t left, right;
};

// The sorted list of the tree build: heaviest first, groups of equal weight
// in insertion order. A new item goes behind the items of equal weight; when
// the items after it are exactly the lightest group, that group's first item
// moves to its end.
class WeightList {
 public:
  void insert(uint64_t weight, uint32_t item) {
    auto lighter = groups_.upper_bound(weight);  // first group lighter than `weight`
    if (lighter != groups_.end() && std::next(lighter) == groups_.end() &&
        !lighter->second.empty()) {
      auto& last = lighter->second;
      last.push_back(last.front());
      last.pop_front();
    }
    groups_[weight].push_back(item);
    ++size_;
  }
  // Removes the lightest, last-placed item.
  std::pair<uint64_t, uint32_t> pop_back() {
    auto last = std::prev(groups_.end());
    std::pair<uint64_t, uint32_t> result{last->first, last->second.back()};
    last->second.pop_back();
    if (last->second.empty()) groups_.erase(last);
    --size_;
    return result;
  }
  size_t size() const { return size_; }

 private:
  std::map<uint64_t, std::deque<uint32_t>, std::greater<uint64_t>> groups_;
  size_t size_ = 0;
};

struct Tree {
  std::vector<Node> nodes;
  uint32_t root = 0;  // a child reference
};

// Builds the tree over the non-zero counts; false when a code would be
// deeper than the limit.
bool build_tree(const std::vector<uint64_t>& weights, Tree& tree, std::vector<uint8_t>& lengths,
                std::vector<uint32_t>& codes) {
  WeightList list;
  for (uint32_t v = 0; v < weights.size(); ++v)
    if (weights[v]) list.insert(weights[v], v);
  tree.nodes.clear();
  while (list.size() >= 2) {
    auto right = list.pop_back();
    auto left = list.pop_back();
    tree.nodes.push_back({left.second, right.second});
    list.insert(left.first + right.first, kNodeBase + uint32_t(tree.nodes.size() - 1));
  }
  tree.root = list.size() ? list.pop_back().second : 0;

  std::fill(lengths.begin(), lengths.end(), kNoCode);
  struct Pending {
    uint32_t child, code, depth;
  };
  std::vector<Pending> stack{{tree.root, 0, 0}};
  while (!stack.empty()) {
    Pending p = stack.back();
    stack.pop_back();
    if (p.child < kNodeBase) {
      if (p.depth > kMaxHuffCodeBits) return false;
      lengths[p.child] = static_cast<uint8_t>(p.depth);
      codes[p.child] = p.code;
      continue;
    }
    const Node& node = tree.nodes[p.child - kNodeBase];
    stack.push_back({node.right, p.code | (1u << std::min<uint32_t>(p.depth, 31)), p.depth + 1});
    stack.push_back({node.left, p.code, p.depth + 1});
  }
  return true;
}

void write_leaf(HuffCoder& coder, uint32_t value) {
  if (!coder.wide) {
    coder.output.put(value, 8);
    return;
  }
  huff_encode(*coder.low, value & 0xFF);
  huff_encode(*coder.high, value >> 8);
}

void write_body(HuffCoder& coder, const Tree& tree, uint32_t child) {
  const Node& node = tree.nodes[child - kNodeBase];
  for (uint32_t next : {node.left, node.right}) {
    if (next >= kNodeBase) {
      coder.output.put(1, 1);
      write_body(coder, tree, next);
    } else {
      coder.output.put(0, 1);
      write_leaf(coder, next);
    }
  }
}

void push_last(HuffCoder& coder, uint32_t value) {
  if (value != coder.lasts[0]) {
    coder.lasts[2] = coder.lasts[1];
    coder.lasts[1] = coder.lasts[0];
    coder.lasts[0] = value;
  }
}

}  // namespace

std::unique_ptr<HuffCoder> huff_create(bool wide) {
  std::unique_ptr<HuffCoder> coder(new (std::nothrow) HuffCoder);
  if (!coder) return nullptr;
  coder->wide = wide;
  const size_t values = wide ? 65536 : 256;
  try {
    coder->counts.assign(values, 0);
    coder->codes.assign(values, 0);
    coder->lengths.assign(values, kNoCode);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
  if (wide) {
    coder->low = huff_create(false);
    coder->high = huff_create(false);
    if (!coder->low || !coder->high) return nullptr;
  }
  return coder;
}

void huff_set_output(HuffCoder& coder, BitSink output) {
  coder.output = output;
  if (coder.low) coder.low->output = output;
  if (coder.high) coder.high->output = output;
}

void huff_init_stats(HuffCoder& coder) {
  std::fill(coder.counts.begin(), coder.counts.end(), 0);
  coder.has_stats = false;
  for (int i = 0; i < 3; ++i) coder.lasts[i] = coder.escape_count[i] = 0;
}

void huff_init_lasts(HuffCoder& coder) { coder.lasts[0] = coder.lasts[1] = coder.lasts[2] = 0; }

void huff_add_stat(HuffCoder& coder, uint32_t value) {
  coder.has_stats = true;
  if (!coder.wide) {
    ++coder.counts[value & 0xFF];
    return;
  }
  value &= 0xFFFF;
  bool escaped = false;
  for (int i = 0; i < 3 && !escaped; ++i) {
    if (coder.lasts[i] != value) continue;
    ++coder.escape_count[i];
    if (coder.counts[value] == 0) coder.counts[value] = 1;  // it still needs its own code
    escaped = true;
  }
  if (!escaped) ++coder.counts[value];
  push_last(coder, value);
}

int32_t huff_start_encode(HuffCoder& coder) {
  huff_init_lasts(coder);
  if (!coder.has_stats) {
    coder.output.put(0, 1);
    return 12;
  }
  const size_t values = coder.counts.size();
  std::vector<uint64_t> weights(coder.counts.begin(), coder.counts.end());

  if (coder.wide) {
    uint32_t search = 0;
    for (int i = 0; i < 3; ++i) {
      while (search < values && weights[search] != 0) ++search;
      if (search >= values) {
        if (i == 0) return -1;  // every value is a leaf: no escape can be told apart
        coder.escape_value[i] = coder.escape_value[i - 1];  // matches no leaf in the reader
        continue;
      }
      coder.escape_value[i] = search;
      if (coder.escape_count[i] >= kEscapeLeafThreshold) {
        weights[search] = coder.escape_count[i];  // a leaf like any other
      }
      ++search;
    }
  }

  // Build before writing anything; flatten the counts while too deep.
  Tree tree;
  while (!build_tree(weights, tree, coder.lengths, coder.codes))
    for (uint64_t& w : weights)
      if (w) w = std::max<uint64_t>(1, w / 2);

  coder.output.put(1, 1);
  if (coder.wide) {
    huff_init_stats(*coder.low);
    huff_init_stats(*coder.high);
    for (uint32_t v = 0; v < values; ++v) {
      if (!weights[v]) continue;
      huff_add_stat(*coder.low, v & 0xFF);
      huff_add_stat(*coder.high, v >> 8);
    }
    huff_start_encode(*coder.low);
    huff_start_encode(*coder.high);
  }
  auto write_escapes = [&] {
    if (coder.wide)
      for (uint32_t e : coder.escape_value) coder.output.put(e, 16);
  };
  int32_t figure;
  if (tree.root < kNodeBase) {  // a single leaf: sent with no bits
    write_escapes();
    coder.output.put(0, 1);
    write_leaf(coder, tree.root);
    coder.output.put(0, 1);
    figure = 20;
  } else {
    write_escapes();
    coder.output.put(1, 1);
    write_body(coder, tree, tree.root);
    coder.output.put(0, 1);
    figure = 16 + 8 * int32_t(tree.nodes.size());
  }
  coder.bytes_coded = coder.bits_written = 0;
  return figure;
}

uint32_t huff_encode(HuffCoder& coder, uint32_t value) {
  value &= coder.wide ? 0xFFFF : 0xFF;
  uint32_t sent = value;
  if (coder.wide) {
    for (int i = 0; i < 3; ++i) {
      if (coder.lasts[i] != value) continue;
      uint32_t escape = coder.escape_value[i];
      if (coder.lengths[escape] != kNoCode && coder.lengths[escape] < coder.lengths[value]) {
        sent = escape;
        break;
      }
    }
    push_last(coder, value);
  }
  uint32_t length = coder.lengths[sent] == kNoCode ? 0 : coder.lengths[sent];
  coder.output.put(coder.codes[sent], length);
  coder.bytes_coded += coder.wide ? 2 : 1;
  coder.bits_written += length;
  return length;
}

}  // namespace glint::glinter
