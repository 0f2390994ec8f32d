#include "forms/kind_data.h"

#include <algorithm>

#include "forms/byte_reader.h"
#include "forms/kinds.h"
#include "forms/resource_error.h"
#include "forms/window_resource.h"

namespace forms {
namespace {

std::string Text(ByteReader& reader) { return std::string(reader.CountedText()); }

ByteValue Bytes(ByteReader& reader) {
  auto bytes = reader.CountedBytes();
  return ByteValue(bytes.begin(), bytes.end());
}

LogFont ReadLogFont(ByteReader& reader) {
  LogFont font;
  font.height = reader.I32();
  font.width = reader.I32();
  font.escapement = reader.I32();
  font.orientation = reader.I32();
  font.weight = reader.I32();
  auto bytes = reader.Bytes(8);
  font.italic = bytes[0];
  font.underline = bytes[1];
  font.strikeOut = bytes[2];
  font.charset = bytes[3];
  font.outPrecision = bytes[4];
  font.clipPrecision = bytes[5];
  font.quality = bytes[6];
  font.pitchAndFamily = bytes[7];
  auto face = reader.Bytes(32);
  std::copy(face.begin(), face.end(), font.face.begin());
  return font;
}

// A font property: empty, or exactly one LOGFONT.
FontValue Font(ByteReader& reader) {
  auto bytes = reader.CountedBytes();
  if (bytes.empty()) return std::nullopt;
  ByteReader inner(bytes);
  LogFont font = ReadLogFont(inner);
  return font;
}

template <std::size_t N>
void U32s(ByteReader& reader, std::array<std::uint32_t, N>& values) {
  for (auto& value : values) value = reader.U32();
}

void Read(ByteReader& reader, WindowData& data) {
  for (std::uint32_t* field :
       {&data.borderStyle, &data.picturePlacement, &data.backColor, &data.maxButton,
        &data.minButton, &data.controlBox, &data.startPosition, &data.movable, &data.property14,
        &data.enterMovesFocus, &data.escCloses, &data.f1OpensHelp, &data.helpContext}) {
    *field = reader.U32();
  }
  if (data.version >= 2) data.showInTaskbar = reader.U32();
  if (data.version >= 3) {
    data.property27 = reader.U32();
    data.shape = reader.U32();
  }
  if (data.version >= 4) data.alwaysOnTop = reader.U32();
  if (data.version >= 5) data.property30 = reader.U32();
  if (data.version >= 6) data.className = Text(reader);
  data.backPicture = Bytes(reader);
  data.icon = Bytes(reader);
  data.backMusic = Bytes(reader);
  data.caption = Text(reader);
  data.helpFile = Text(reader);
}

void Read(ByteReader& reader, ButtonData& data) {
  data.buttonType = reader.U32();
  data.hAlign = reader.U32();
  data.vAlign = reader.U32();
  data.picture = Bytes(reader);
  data.font = Font(reader);
  data.caption = Text(reader);
}

void Read(ByteReader& reader, LabelData& data) {
  U32s(reader, data.settings);
  data.font = Font(reader);
  data.picture = Bytes(reader);
  data.caption = Text(reader);
  if (data.version >= 2) {
    data.property27 = Text(reader);
    data.property28 = Text(reader);
  }
}

void Read(ByteReader& reader, PicBoxData& data) {
  data.borderStyle = reader.U32();
  data.backColor = reader.U32();
  data.displayMode = reader.U32();
  data.property12 = reader.U32();
  data.picture = Bytes(reader);
  if (data.version >= 2) {
    data.property13 = Text(reader);
    data.property14 = Text(reader);
  }
}

void Read(ByteReader& reader, GroupBoxData& data) {
  data.captionAlignment = reader.U32();
  data.textColor = reader.U32();
  data.backColor = reader.U32();
  data.font = Font(reader);
  data.caption = Text(reader);
}

void Read(ByteReader& reader, ComboBoxData& data) {
  U32s(reader, data.settings);
  data.bytes1 = Bytes(reader);
  data.bytes2 = Bytes(reader);
  data.text = Text(reader);
  for (auto item : reader.StringList()) data.items.emplace_back(item);
  if (data.version >= 2) {
    data.text2 = Text(reader);
    data.text3 = Text(reader);
  }
  if (data.version >= 3) data.setting3 = reader.U32();
}

void Read(ByteReader& reader, SliderBarData& data) {
  for (std::uint32_t* field :
       {&data.borderStyle, &data.orientation, &data.tickMarks, &data.tickFrequency,
        &data.selectionShown, &data.selectionStart, &data.selectionLength, &data.pageSize,
        &data.lineSize, &data.minimum, &data.maximum, &data.position}) {
    *field = reader.U32();
  }
}

void Read(ByteReader& reader, CommonDlgData& data) {
  U32s(reader, data.settings);
  for (auto& text : data.texts) text = Text(reader);
}

void ReadPageBlock(std::span<const std::uint8_t> block, PageControlData& data) {
  ByteReader reader(block);
  data.pageBlockFormat = reader.U32();
  std::uint32_t pageCount = reader.U32();
  // The smallest page record is 88 bytes; refuse counts the block cannot hold.
  if (pageCount > reader.Remaining() / 88) FailResourceLoad();
  data.pages.resize(pageCount);
  for (auto& page : data.pages) {
    page.caption = Text(reader);
    U32s(reader, page.settings);
    U32s(reader, page.options);
    if (data.pageBlockFormat > 1) page.secondText = Text(reader);
    if (data.pageBlockFormat > 2) page.extra = reader.U32();
    std::uint32_t entryCount = reader.U32();
    if (entryCount > reader.Remaining() / 16) FailResourceLoad();
    page.entries.resize(entryCount);
    for (auto& entry : page.entries) U32s(reader, entry);
  }
}

void Read(ByteReader& reader, PageControlData& data) {
  U32s(reader, data.settings1);
  data.font = ReadLogFont(reader);
  auto block = reader.CountedBytes();
  data.pageBlockLength = static_cast<std::uint32_t>(block.size());
  ReadPageBlock(block, data);
  U32s(reader, data.settings2);
  for (auto& image : data.images) image = Bytes(reader);
  data.setting3 = reader.U32();
  U32s(reader, data.colours);
  U32s(reader, data.settings4);
  reader.Skip(12);  // three values that are read and ignored
  if (data.version >= 2) U32s(reader, data.settings5);
  const std::uint32_t laterVersions[] = {3, 5, 6, 7};
  for (std::size_t i = 0; i < 4; ++i) {
    if (data.version >= laterVersions[i]) data.laterSettings[i] = reader.U32();
  }
}

template <class Data>
KindDataResult ReadAs(std::uint32_t highestVersion, std::span<const std::uint8_t> bytes) {
  Data data;
  if (bytes.empty()) return {KindDataStatus::Ok, data};
  ByteReader reader(bytes);
  data.version = reader.U32();
  if (data.version > highestVersion) return {KindDataStatus::VersionTooHigh, {}};
  Read(reader, data);
  return {KindDataStatus::Ok, std::move(data)};
}

}  // namespace

std::string LogFont::FaceName() const {
  auto end = std::find(face.begin(), face.end(), std::uint8_t{0});
  return std::string(face.begin(), end);
}

KindDataResult ReadKindData(KindId kind, std::span<const std::uint8_t> bytes) {
  const KindDescription* description = FindKind(kind);
  if (!description) return {};
  const std::uint32_t version = description->dataVersion;
  switch (kind) {
    case kind_ids::kWindow: return ReadAs<WindowData>(version, bytes);
    case kind_ids::kButton: return ReadAs<ButtonData>(version, bytes);
    case kind_ids::kLabel: return ReadAs<LabelData>(version, bytes);
    case kind_ids::kPicBox: return ReadAs<PicBoxData>(version, bytes);
    case kind_ids::kGroupBox: return ReadAs<GroupBoxData>(version, bytes);
    case kind_ids::kComboBox: return ReadAs<ComboBoxData>(version, bytes);
    case kind_ids::kSliderBar: return ReadAs<SliderBarData>(version, bytes);
    case kind_ids::kCommonDlg: return ReadAs<CommonDlgData>(version, bytes);
    case kind_ids::kPageControl: return ReadAs<PageControlData>(version, bytes);
    // Its settings are not read here; a panel without any is made with our defaults.
    case kind_ids::kDrawPanel:
      return bytes.empty() ? KindDataResult{KindDataStatus::Ok, {}} : KindDataResult{};
    default: return {};
  }
}

bool ReadWindowKindData(const WindowRecord& window, std::vector<KindData>* out) {
  if (out) out->clear();
  for (std::size_t i = 0; i < window.units.Count(); ++i) {
    // Menu items hold no settings; their empty place keeps the list indexed like the units.
    if (window.units.IsMenuItem(i)) {
      if (out) out->emplace_back();
      continue;
    }
    KindDataResult result = ReadKindData(window.units.Record(i).kind, window.units.KindData(i));
    if (result.status != KindDataStatus::Ok) return false;
    if (out) out->push_back(std::move(result.data));
  }
  return true;
}

}  // namespace forms
