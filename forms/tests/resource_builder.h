#pragma once

// Small hand-made resources for the reader tests, written field by field.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "forms/ids.h"
#include "forms/kinds.h"

namespace forms::testing {

struct Bytes {
  std::vector<std::uint8_t> data;

  Bytes& U16(std::uint16_t v) {
    data.push_back(static_cast<std::uint8_t>(v));
    data.push_back(static_cast<std::uint8_t>(v >> 8));
    return *this;
  }
  Bytes& U32(std::uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8) data.push_back(static_cast<std::uint8_t>(v >> shift));
    return *this;
  }
  Bytes& Zeros(std::size_t n) {
    data.insert(data.end(), n, 0);
    return *this;
  }
  Bytes& Raw(const std::vector<std::uint8_t>& bytes) {
    data.insert(data.end(), bytes.begin(), bytes.end());
    return *this;
  }
  Bytes& Raw(const std::string& text) {
    data.insert(data.end(), text.begin(), text.end());
    return *this;
  }
  Bytes& ZText(const std::string& text) { return Raw(text).Zeros(1); }
  Bytes& Counted(const std::string& text) { return U32(static_cast<std::uint32_t>(text.size())).Raw(text); }
  Bytes& Counted(const std::vector<std::uint8_t>& bytes) {
    return U32(static_cast<std::uint32_t>(bytes.size())).Raw(bytes);
  }
  std::size_t size() const { return data.size(); }
};

struct TestUnit {
  UnitId id = 0x16010001;
  KindId kind = kind_ids::kButton;
  std::string name = "u";
  std::int32_t left = 1, top = 2, width = 3, height = 4;
  UnitId parent = 0;
  std::vector<UnitId> children;
  std::vector<std::uint8_t> cursor{0, 0, 0, 0};
  std::string tag;
  std::uint32_t flags = 5;
  std::vector<std::pair<std::int32_t, std::int32_t>> events;
  std::vector<std::uint8_t> kindData;
};

// The record body and, beside it, where its property data starts.
inline Bytes RecordBody(const TestUnit& unit, std::size_t* kindDataStart = nullptr) {
  Bytes b;
  b.U32(unit.kind).Zeros(20).ZText(unit.name).ZText("");
  b.U32(0).U32(static_cast<std::uint32_t>(unit.left)).U32(static_cast<std::uint32_t>(unit.top));
  b.U32(static_cast<std::uint32_t>(unit.width)).U32(static_cast<std::uint32_t>(unit.height));
  b.U32(0).U32(unit.parent).U32(static_cast<std::uint32_t>(unit.children.size()));
  for (UnitId child : unit.children) b.U32(child);
  b.Counted(unit.cursor).ZText(unit.tag).U32(0).U32(unit.flags).U32(0);
  b.U32(static_cast<std::uint32_t>(unit.events.size()));
  for (auto [event, handler] : unit.events) b.U32(static_cast<std::uint32_t>(event)).U32(static_cast<std::uint32_t>(handler));
  b.Zeros(20);
  if (kindDataStart) *kindDataStart = b.size();
  b.Raw(unit.kindData);
  return b;
}

inline Bytes MenuItemBody(KindId kind, const std::string& name, std::uint32_t flags,
                          const std::string& caption, std::int32_t handler, std::uint32_t level = 7,
                          std::uint32_t shortcut = 8) {
  Bytes b;
  b.U32(kind).Zeros(20).ZText(name).ZText("").U32(level).U32(shortcut).U32(flags).ZText(caption);
  b.U32(static_cast<std::uint32_t>(handler));
  return b;
}

inline Bytes UnitListBytes(const std::vector<UnitId>& ids, const std::vector<Bytes>& bodies) {
  Bytes list;
  for (UnitId id : ids) list.U32(id);
  std::uint32_t offset = 0;
  for (const auto& body : bodies) {
    list.U32(offset);
    offset += 4 + static_cast<std::uint32_t>(body.size());
  }
  for (const auto& body : bodies) list.U32(static_cast<std::uint32_t>(body.size())).Raw(body.data);
  return list;
}

inline Bytes UnitListOf(const std::vector<TestUnit>& units) {
  std::vector<UnitId> ids;
  std::vector<Bytes> bodies;
  for (const auto& unit : units) {
    ids.push_back(unit.id);
    bodies.push_back(RecordBody(unit));
  }
  return UnitListBytes(ids, bodies);
}

struct TestWindow {
  WindowId id = 0x52010001;
  std::uint32_t unitCount = 0;
  Bytes list;
};

inline Bytes ResourceBytes(const std::vector<TestWindow>& windows) {
  Bytes b;
  b.U32(static_cast<std::uint32_t>(8 * windows.size()));
  for (const auto& window : windows) b.U32(window.id);
  for (std::size_t i = 0; i < windows.size(); ++i) b.U32(0x01FA9A00);
  for (const auto& window : windows) {
    b.U32(0x11).U32(0x22).Counted(std::string()).Counted(std::string()).U32(window.unitCount);
    b.Counted(window.list.data);
  }
  return b;
}

inline TestWindow WindowOf(WindowId id, const std::vector<TestUnit>& units) {
  return {id, static_cast<std::uint32_t>(units.size()), UnitListOf(units)};
}

// Version 1 button data: three settings, no picture, no font, a caption.
inline std::vector<std::uint8_t> ButtonData(const std::string& caption, std::uint32_t version = 1) {
  Bytes b;
  b.U32(version).U32(0).U32(1).U32(1).Counted(std::string()).Counted(std::string()).Counted(caption);
  return b.data;
}

}  // namespace forms::testing
