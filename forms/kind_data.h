#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "forms/ids.h"

namespace forms {

struct WindowRecord;

inline constexpr std::uint32_t kDefaultColour = 0xFF000000;

// A stored Windows LOGFONT (60 bytes).
struct LogFont {
  std::int32_t height = 0;
  std::int32_t width = 0;
  std::int32_t escapement = 0;
  std::int32_t orientation = 0;
  std::int32_t weight = 0;
  std::uint8_t italic = 0;
  std::uint8_t underline = 0;
  std::uint8_t strikeOut = 0;
  std::uint8_t charset = 0;
  std::uint8_t outPrecision = 0;
  std::uint8_t clipPrecision = 0;
  std::uint8_t quality = 0;
  std::uint8_t pitchAndFamily = 0;
  std::array<std::uint8_t, 32> face{};

  // Up to the first zero; whatever follows in the buffer is leftover and ignored.
  std::string FaceName() const;
};
// Empty means the default GUI font.
using FontValue = std::optional<LogFont>;
using ByteValue = std::vector<std::uint8_t>;

struct WindowData {
  std::uint32_t version = 0;
  std::uint32_t borderStyle = 2;
  std::uint32_t picturePlacement = 0;
  std::uint32_t backColor = kDefaultColour;
  std::uint32_t maxButton = 0;
  std::uint32_t minButton = 0;
  std::uint32_t controlBox = 1;
  std::uint32_t startPosition = 0;
  std::uint32_t movable = 1;
  std::uint32_t property14 = 0;
  std::uint32_t enterMovesFocus = 0;
  std::uint32_t escCloses = 0;
  std::uint32_t f1OpensHelp = 0;
  std::uint32_t helpContext = 0;
  std::uint32_t showInTaskbar = 1;
  std::uint32_t property27 = 0;
  std::uint32_t shape = 0;
  std::uint32_t alwaysOnTop = 0;
  std::uint32_t property30 = 0;
  std::string className;
  ByteValue backPicture;
  ByteValue icon;
  ByteValue backMusic;
  std::string caption;
  std::string helpFile;
};

struct ButtonData {
  std::uint32_t version = 0;
  std::uint32_t buttonType = 0;
  std::uint32_t hAlign = 1;
  std::uint32_t vAlign = 1;
  ByteValue picture;
  FontValue font;
  std::string caption;
};

struct LabelData {
  // The places in `settings`, which keeps the stored order: properties 9, 11, 10, 12, 13, 14, 16,
  // 17, 19, 20, 21, 22, 23, 24, 26, 25.
  enum Setting : std::size_t {
    kTextEffect,       // 9: 0 plain, 1 and 2 a white offset copy, 3 a black shadow
    kFrameWidth,       // 11: of the own frame, at least 5
    kBorderStyle,      // 10: 0 to 6; 6 draws the own frame
    kFrameColour1,     // 12 to 14: the own frame's colours
    kFrameColour2,
    kFrameColour3,
    kTextColor,        // 16
    kBackColor,        // 17
    kPictureMode,      // 19
    kGradientMode,     // 20: 1 to 8, the modes of the drawing panel's gradient fill
    kGradientColour1,  // 21 to 23: the background gradient's colours
    kGradientColour2,
    kGradientColour3,
    kHAlign,           // 24: 0 left, 1 centre, 2 right
    kVAlign,           // 26: 0 top, 1 centre, 2 bottom
    kWordWrap,         // 25: 1 wraps the caption
  };

  std::uint32_t version = 0;
  std::array<std::uint32_t, 16> settings{0, 8, 0, 0x808080, 0xFFFFFF, 0x808080, 0, kDefaultColour,
                                         1, 0, 0x808080, 0xFFFFFF, 0x808080, 0, 1, 0};
  FontValue font;
  ByteValue picture;
  std::string caption;
  std::string property27;
  std::string property28;

  std::uint32_t TextColor() const { return settings[kTextColor]; }
  std::uint32_t BackColor() const { return settings[kBackColor]; }
  std::uint32_t BorderStyle() const { return settings[kBorderStyle]; }
};

struct PicBoxData {
  std::uint32_t version = 0;
  std::uint32_t borderStyle = 0;
  std::uint32_t backColor = kDefaultColour;
  std::uint32_t displayMode = 0;  // 0 at the corner, 1 stretched, 2 fitted, 3 animated
  std::uint32_t property12 = 0;
  ByteValue picture;
  std::string property13;
  std::string property14;
};

struct GroupBoxData {
  std::uint32_t version = 0;
  std::uint32_t captionAlignment = 0;  // 0 left, 1 centre, 2 right
  std::uint32_t textColor = kDefaultColour;
  std::uint32_t backColor = kDefaultColour;
  FontValue font;
  std::string caption;
};

struct ComboBoxData {
  // The places in `settings` of the properties 8 to 14 the control applies; property 8 + place.
  enum Setting : std::size_t {
    kComboType,
    kSorted,
    kExtraItemHeight,
    kTextLimit,
    kSelectionStart,
    kSelectionLength,
    kStoredIndex,
  };

  std::uint32_t version = 0;
  std::array<std::uint32_t, 9> settings{};
  ByteValue bytes1;
  ByteValue bytes2;
  std::string text;
  std::vector<std::string> items;
  std::string text2;
  std::string text3;
  std::uint32_t setting3 = 0;

  std::uint32_t ComboType() const { return settings[kComboType]; }
};

struct SliderBarData {
  std::uint32_t version = 0;
  std::uint32_t borderStyle = 0;
  std::uint32_t orientation = 0;
  std::uint32_t tickMarks = 0;
  std::uint32_t tickFrequency = 1;
  std::uint32_t selectionShown = 0;
  std::uint32_t selectionStart = 0;
  std::uint32_t selectionLength = 0;
  std::uint32_t pageSize = 10;
  std::uint32_t lineSize = 1;
  std::uint32_t minimum = 0;
  std::uint32_t maximum = 100;
  std::uint32_t position = 0;
};

struct CommonDlgData {
  // The places in `settings` (stored order: properties 8, 12, 15, 16, 17, 18, 19, 20, 21, 22, 23,
  // 24, 26, 28, 29) and in `texts` (stored order: properties 9, 10, 11, 13, 14, 25, 27) of the
  // properties the dialog uses.
  enum Setting : std::size_t {
    kDialogType,
    kFilterIndex,
    kCreatePrompt,
    kFileMustExist,
    kOverwritePrompt,
    kPathMustExist,
    kNoChangeDirectory,
  };
  enum Text : std::size_t { kTitle, kFileName, kFilter, kInitialDirectory, kDefaultExtension };

  std::uint32_t version = 0;
  std::array<std::uint32_t, 15> settings{};
  std::array<std::string, 7> texts;

  std::uint32_t DialogType() const { return settings[kDialogType]; }
  std::uint32_t FilterIndex() const { return settings[kFilterIndex]; }
  bool CreatePrompt() const { return settings[kCreatePrompt] != 0; }
  bool FileMustExist() const { return settings[kFileMustExist] != 0; }
  bool OverwritePrompt() const { return settings[kOverwritePrompt] != 0; }
  bool PathMustExist() const { return settings[kPathMustExist] != 0; }
  bool NoChangeDirectory() const { return settings[kNoChangeDirectory] != 0; }
  const std::string& Title() const { return texts[kTitle]; }
  const std::string& FileName() const { return texts[kFileName]; }
  const std::string& Filter() const { return texts[kFilter]; }
  const std::string& InitialDirectory() const { return texts[kInitialDirectory]; }
  const std::string& DefaultExtension() const { return texts[kDefaultExtension]; }
};

struct PageRecord {
  std::string caption;
  std::array<std::uint32_t, 15> settings{};
  std::array<std::uint32_t, 5> options{};
  std::string secondText;
  std::uint32_t extra = 0;
  std::vector<std::array<std::uint32_t, 4>> entries;
};

struct PageControlData {
  std::uint32_t version = 0;
  std::array<std::uint32_t, 4> settings1{};
  LogFont font;
  std::uint32_t pageBlockLength = 0;
  std::uint32_t pageBlockFormat = 0;
  std::vector<PageRecord> pages;
  std::array<std::uint32_t, 4> settings2{};
  std::array<ByteValue, 4> images;
  std::uint32_t setting3 = 0;
  std::array<std::uint32_t, 12> colours{};
  std::array<std::uint32_t, 2> settings4{};
  std::array<std::uint32_t, 4> settings5{};  // from version 2
  std::array<std::uint32_t, 4> laterSettings{};  // versions 3, 5, 6 and 7, one each
};

using KindData = std::variant<std::monostate, WindowData, ButtonData, LabelData, PicBoxData,
                              GroupBoxData, ComboBoxData, SliderBarData, CommonDlgData,
                              PageControlData>;

enum class KindDataStatus {
  Ok,
  VersionTooHigh,  // the unit, and with it its window, cannot be created
  NoReader,        // a kind this program cannot create
};

struct KindDataResult {
  KindDataStatus status = KindDataStatus::NoReader;
  KindData data;
};

// Empty bytes give the kind's defaults. A truncated field ends in the load failure.
KindDataResult ReadKindData(KindId kind, std::span<const std::uint8_t> bytes);

// Reads the KindData of every unit, indexed like the unit list (a menu item's place holds
// std::monostate); false as soon as one unit cannot be created, so the window does not load.
bool ReadWindowKindData(const WindowRecord& window, std::vector<KindData>* out = nullptr);

}  // namespace forms
