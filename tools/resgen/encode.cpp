#include "tools/resgen/encode.h"

#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <stdexcept>

#include "forms/ids.h"
#include "forms/kinds.h"
#include "tools/resgen/gbk.h"

namespace resgen {
namespace {

// Encoding errors unwind to EncodeLayout, which turns them into its error text.
struct LayoutError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

[[noreturn]] void Fail(int line, const std::string& what) {
  throw LayoutError("line " + std::to_string(line) + ": " + what);
}

class Writer {
 public:
  void U16(std::uint16_t v) {
    bytes.push_back(static_cast<std::uint8_t>(v));
    bytes.push_back(static_cast<std::uint8_t>(v >> 8));
  }
  void U32(std::uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<std::uint8_t>(v >> shift));
  }
  void Raw(const std::vector<std::uint8_t>& data) { bytes.insert(bytes.end(), data.begin(), data.end()); }
  void Raw(const std::string& data) { bytes.insert(bytes.end(), data.begin(), data.end()); }
  void Zeros(std::size_t n) { bytes.insert(bytes.end(), n, 0); }
  void ZText(const std::string& gbk) {
    Raw(gbk);
    bytes.push_back(0);
  }
  void CountedText(const std::string& gbk) {
    U32(static_cast<std::uint32_t>(gbk.size()));
    Raw(gbk);
  }
  void CountedBytes(const std::vector<std::uint8_t>& data) {
    U32(static_cast<std::uint32_t>(data.size()));
    Raw(data);
  }
  std::vector<std::uint8_t> bytes;
};

std::uint32_t ParseNumber(const Item& item, int line) {
  const std::string& text = item.text;
  if (item.quoted || text.empty()) Fail(line, "expected a number, found '" + text + "'");
  bool negative = text[0] == '-';
  std::string digits = negative ? text.substr(1) : text;
  int base = 10;
  if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
    base = 16;
    digits = digits.substr(2);
  }
  std::size_t used = 0;
  unsigned long long value = 0;
  try {
    value = std::stoull(digits, &used, base);
  } catch (const std::exception&) {
    Fail(line, "expected a number, found '" + text + "'");
  }
  if (used != digits.size() || value > 0xFFFFFFFFull || (negative && value > 0x80000000ull)) {
    Fail(line, "bad number '" + text + "'");
  }
  return negative ? static_cast<std::uint32_t>(-static_cast<long long>(value))
                  : static_cast<std::uint32_t>(value);
}

std::string ToGbk(const Item& item, int line) {
  if (!item.quoted) Fail(line, "expected a quoted text, found '" + item.text + "'");
  auto gbk = Utf8ToGbk(item.text);
  if (!gbk) Fail(line, "text has no GBK form: " + item.text);
  return *gbk;
}

// The attributes of one unit, with the kind's defaults behind them. Every key the unit names
// must be used, so a misspelt key is an error rather than a silent default.
class Fields {
 public:
  Fields(const std::vector<Attribute>& own, const std::vector<Attribute>* defaults, int line)
      : own_(own), defaults_(defaults), line_(line) {}

  const Attribute* Find(const std::string& key) {
    // Later lines override earlier ones.
    for (auto it = own_.rbegin(); it != own_.rend(); ++it) {
      if (it->key == key) {
        used_.insert(key);
        return &*it;
      }
    }
    if (defaults_) {
      for (auto it = defaults_->rbegin(); it != defaults_->rend(); ++it) {
        if (it->key == key) return &*it;
      }
    }
    return nullptr;
  }
  const Attribute& Get(const std::string& key) {
    const Attribute* attribute = Find(key);
    if (!attribute) Fail(line_, "missing '" + key + "'");
    return *attribute;
  }
  const Attribute& GetCount(const std::string& key, std::size_t count) {
    const Attribute& attribute = Get(key);
    if (attribute.items.size() != count) {
      Fail(attribute.line, "'" + key + "' takes " + std::to_string(count) + " values");
    }
    return attribute;
  }
  std::uint32_t Number(const std::string& key) {
    const Attribute& a = GetCount(key, 1);
    return ParseNumber(a.items[0], a.line);
  }
  std::string Text(const std::string& key) {
    const Attribute& a = GetCount(key, 1);
    return ToGbk(a.items[0], a.line);
  }
  void MarkUsed(const std::string& key) { used_.insert(key); }
  void CheckAllUsed() const {
    for (const auto& attribute : own_) {
      if (!used_.count(attribute.key)) Fail(attribute.line, "unknown key '" + attribute.key + "'");
    }
  }
  const std::vector<Attribute>& Own() const { return own_; }
  int Line() const { return line_; }

 private:
  const std::vector<Attribute>& own_;
  const std::vector<Attribute>* defaults_;
  int line_;
  std::set<std::string> used_;
};

struct Context {
  const std::filesystem::path& assetsDir;
  std::vector<std::string>& warnings;
  std::string unit;  // UTF-8 name of the unit being encoded, for messages
};

std::vector<std::uint8_t> ReadBytes(const Item& item, int line, Context& context) {
  if (!item.quoted && item.text == "-") return {};
  const std::string prefix = "asset:";
  if (item.quoted || item.text.rfind(prefix, 0) != 0) {
    Fail(line, "expected '-' or asset:NAME, found '" + item.text + "'");
  }
  std::filesystem::path path = context.assetsDir / item.text.substr(prefix.size());
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    // The asset comes from its own build step; until it exists the slot stays empty.
    context.warnings.push_back("line " + std::to_string(line) + " (unit \"" + context.unit + "\"): " +
                               path.string() + " not found; its bytes are left empty");
    return {};
  }
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(file), {});
}

std::vector<std::uint8_t> Bytes(Fields& fields, const std::string& key, Context& context) {
  const Attribute& a = fields.GetCount(key, 1);
  return ReadBytes(a.items[0], a.line, context);
}

// "face",height,weight,charset; the other LOGFONT fields are 0.
std::vector<std::uint8_t> LogFont(const Attribute& a) {
  if (a.items.size() != 4) Fail(a.line, "a font is \"face\",height,weight,charset");
  std::string face = ToGbk(a.items[0], a.line);
  if (face.size() > 31) Fail(a.line, "font face too long");
  Writer w;
  w.U32(ParseNumber(a.items[1], a.line));
  w.Zeros(12);  // width, escapement, orientation
  w.U32(ParseNumber(a.items[2], a.line));
  w.Zeros(3);  // italic, underline, strike-out
  w.bytes.push_back(static_cast<std::uint8_t>(ParseNumber(a.items[3], a.line)));
  w.Zeros(4);
  w.Raw(face);
  w.Zeros(32 - face.size());
  return w.bytes;
}

std::vector<std::uint8_t> FontBytes(Fields& fields, const std::string& key) {
  const Attribute& a = fields.Get(key);
  if (a.items.size() == 1 && !a.items[0].quoted && a.items[0].text == "-") return {};
  return LogFont(a);
}

void Numbers(Writer& w, Fields& fields, const std::string& key, std::size_t count) {
  const Attribute& a = fields.GetCount(key, count);
  for (const auto& item : a.items) w.U32(ParseNumber(item, a.line));
}

void NumbersByKey(Writer& w, Fields& fields, std::initializer_list<const char*> keys) {
  for (const char* key : keys) w.U32(fields.Number(key));
}

std::uint32_t Version(Fields& fields, std::uint32_t highest) {
  std::uint32_t version = fields.Number("version");
  if (version > highest) Fail(fields.Line(), "version above what the program reads");
  return version;
}

void WindowKindData(Writer& w, Fields& f, Context& c) {
  std::uint32_t v = Version(f, 6);
  w.U32(v);
  NumbersByKey(w, f, {"border", "placement", "backcolor", "maxbutton", "minbutton", "controlbox",
                      "startposition", "movable", "p14", "entermovesfocus", "esccloses",
                      "f1help", "helpcontext"});
  if (v >= 2) w.U32(f.Number("taskbar"));
  if (v >= 3) NumbersByKey(w, f, {"p27", "shape"});
  if (v >= 4) w.U32(f.Number("alwaysontop"));
  if (v >= 5) w.U32(f.Number("p30"));
  if (v >= 6) w.CountedText(f.Text("class"));
  w.CountedBytes(Bytes(f, "backpicture", c));
  w.CountedBytes(Bytes(f, "icon", c));
  w.CountedBytes(Bytes(f, "backmusic", c));
  w.CountedText(f.Text("caption"));
  w.CountedText(f.Text("helpfile"));
}

void ButtonKindData(Writer& w, Fields& f, Context& c) {
  w.U32(Version(f, 1));
  NumbersByKey(w, f, {"type", "halign", "valign"});
  w.CountedBytes(Bytes(f, "picture", c));
  w.CountedBytes(FontBytes(f, "font"));
  w.CountedText(f.Text("caption"));
}

void LabelKindData(Writer& w, Fields& f, Context& c) {
  std::uint32_t v = Version(f, 2);
  w.U32(v);
  Numbers(w, f, "settings", 16);
  w.CountedBytes(FontBytes(f, "font"));
  w.CountedBytes(Bytes(f, "picture", c));
  w.CountedText(f.Text("caption"));
  if (v >= 2) {
    w.CountedText(f.Text("p27"));
    w.CountedText(f.Text("p28"));
  }
}

void PicBoxKindData(Writer& w, Fields& f, Context& c) {
  std::uint32_t v = Version(f, 2);
  w.U32(v);
  NumbersByKey(w, f, {"border", "backcolor", "p11", "p12"});
  w.CountedBytes(Bytes(f, "picture", c));
  if (v >= 2) {
    w.CountedText(f.Text("p13"));
    w.CountedText(f.Text("p14"));
  }
}

void GroupBoxKindData(Writer& w, Fields& f, Context&) {
  w.U32(Version(f, 1));
  NumbersByKey(w, f, {"p9", "textcolor", "backcolor"});
  w.CountedBytes(FontBytes(f, "font"));
  w.CountedText(f.Text("caption"));
}

void ComboBoxKindData(Writer& w, Fields& f, Context& c) {
  std::uint32_t v = Version(f, 3);
  w.U32(v);
  Numbers(w, f, "settings", 9);
  const Attribute& bytes = f.GetCount("bytes", 2);
  for (const auto& item : bytes.items) w.CountedBytes(ReadBytes(item, bytes.line, c));
  w.CountedText(f.Text("text"));
  const Attribute& items = f.Get("items");
  std::vector<std::string> list;
  if (!(items.items.size() == 1 && !items.items[0].quoted && items.items[0].text == "-")) {
    for (const auto& item : items.items) list.push_back(ToGbk(item, items.line));
  }
  if (list.size() < 0xFFFF) {
    w.U16(static_cast<std::uint16_t>(list.size()));
  } else {
    w.U16(0xFFFF);
    w.U32(static_cast<std::uint32_t>(list.size()));
  }
  for (const auto& item : list) w.CountedText(item);
  if (v >= 2) {
    const Attribute& texts = f.GetCount("texts", 2);
    for (const auto& item : texts.items) w.CountedText(ToGbk(item, texts.line));
  }
  if (v >= 3) w.U32(f.Number("setting3"));
}

void SliderBarKindData(Writer& w, Fields& f, Context&) {
  w.U32(Version(f, 1));
  NumbersByKey(w, f, {"border", "orientation", "ticks", "tickfrequency", "selectionshown",
                      "selectionstart", "selectionlength", "pagesize", "linesize", "minimum",
                      "maximum", "position"});
}

void CommonDlgKindData(Writer& w, Fields& f, Context&) {
  w.U32(Version(f, 1));
  NumbersByKey(w, f, {"dialogtype", "filterindex", "createprompt", "mustexist",
                      "overwriteprompt", "pathmustexist", "nochangedir"});
  Numbers(w, f, "p20-29", 8);
  for (const char* key : {"title", "filename", "filter", "initialdir", "defaultext", "p25", "p27"}) {
    w.CountedText(f.Text(key));
  }
}

std::size_t PageCount(Fields& fields) {
  std::size_t count = 0;
  while (fields.Find("page." + std::to_string(count + 1))) ++count;
  return count;
}

void PageControlKindData(Writer& w, Fields& f, Context& c) {
  std::uint32_t v = Version(f, 7);
  w.U32(v);
  Numbers(w, f, "settings1", 4);
  w.Raw(LogFont(f.Get("font")));

  Writer block;
  std::uint32_t format = f.Number("pageformat");
  block.U32(format);
  std::size_t pages = PageCount(f);
  block.U32(static_cast<std::uint32_t>(pages));
  for (std::size_t p = 1; p <= pages; ++p) {
    const Attribute& page = f.GetCount("page." + std::to_string(p), 2);
    block.CountedText(ToGbk(page.items[0], page.line));
    Numbers(block, f, "pagesettings", 15);
    Numbers(block, f, "pageoptions", 5);
    if (format > 1) block.CountedText(ToGbk(page.items[1], page.line));
    if (format > 2) block.U32(f.Number("pageextra"));
    block.U32(0);  // no per-page entries
  }
  w.CountedBytes(block.bytes);

  Numbers(w, f, "settings2", 4);
  const Attribute& images = f.GetCount("images", 4);
  for (const auto& item : images.items) w.CountedBytes(ReadBytes(item, images.line, c));
  w.U32(f.Number("setting3"));
  Numbers(w, f, "colours", 12);
  Numbers(w, f, "settings4", 2);
  Numbers(w, f, "ignored", 3);
  if (v >= 2) Numbers(w, f, "settings5", 4);
  const Attribute& later = f.GetCount("later", 4);  // one value each for versions 3, 5, 6, 7
  const std::uint32_t versions[] = {3, 5, 6, 7};
  for (std::size_t i = 0; i < 4; ++i) {
    if (v >= versions[i]) w.U32(ParseNumber(later.items[i], later.line));
  }
}

void KindData(Writer& w, forms::KindId kind, Fields& f, Context& c) {
  if (const Attribute* empty = f.Find("kinddata")) {
    if (empty->items.size() != 1 || empty->items[0].text != "empty") {
      Fail(empty->line, "kinddata only takes 'empty'");
    }
    return;
  }
  using namespace forms::kind_ids;
  switch (kind) {
    case kWindow: return WindowKindData(w, f, c);
    case kButton: return ButtonKindData(w, f, c);
    case kLabel: return LabelKindData(w, f, c);
    case kPicBox: return PicBoxKindData(w, f, c);
    case kGroupBox: return GroupBoxKindData(w, f, c);
    case kComboBox: return ComboBoxKindData(w, f, c);
    case kSliderBar: return SliderBarKindData(w, f, c);
    case kCommonDlg: return CommonDlgKindData(w, f, c);
    case kPageControl: return PageControlKindData(w, f, c);
    default: Fail(f.Line(), "no property data layout for this kind");
  }
}

std::uint32_t Flags(Fields& f) {
  const Attribute& a = f.Get("flags");
  std::uint32_t flags = 0;
  for (const auto& item : a.items) {
    if (item.text == "visible") flags |= 1u << 0;
    else if (item.text == "disabled") flags |= 1u << 1;
    else if (item.text == "tabstop") flags |= 1u << 2;
    else if (item.text == "bit4") flags |= 1u << 4;
    else if (item.text != "none") Fail(a.line, "unknown flag '" + item.text + "'");
  }
  return flags;
}

std::vector<std::uint8_t> Cursor(Fields& f, Context& c) {
  const Attribute& a = f.GetCount("cursor", 1);
  const Item& item = a.items[0];
  if (!item.quoted && (item.text == "-" || item.text.rfind("asset:", 0) == 0)) {
    return ReadBytes(item, a.line, c);
  }
  Writer w;
  w.U32(ParseNumber(item, a.line));  // a system cursor id
  return w.bytes;
}

struct UnitPlan {
  const UnitSpec* layoutUnit;
  const forms::KindDescription* kind;
  std::uint32_t id;
  std::string name;  // GBK
};

std::vector<std::uint8_t> EncodeWindow(const Layout& layout, const WindowSpec& window,
                                       const std::map<std::string, std::int32_t>& handlers,
                                       Context& context, WindowSummary& summary) {
  std::vector<UnitPlan> plans;
  std::map<std::string, std::size_t> byName;  // UTF-8 name -> index
  std::set<std::uint32_t> ids;
  for (const auto& unit : window.units) {
    const forms::KindDescription* kind = forms::FindKindByEnglishName(unit.kind);
    if (!kind) Fail(unit.line, "unknown kind '" + unit.kind + "'");
    std::uint32_t id = ParseNumber({false, unit.id}, unit.line);
    if (!forms::IsValidId(id) || !forms::NamesUnit(id)) Fail(unit.line, "not a unit id: " + unit.id);
    if (!ids.insert(id).second) Fail(unit.line, "unit id used twice: " + unit.id);
    if (plans.empty() != forms::IsWindowUnitId(id)) {
      Fail(unit.line, "the window's own unit comes first, and only there");
    }
    if (!unit.name.empty() && !byName.emplace(unit.name, plans.size()).second) {
      Fail(unit.line, "unit name used twice: " + unit.name);
    }
    plans.push_back({&unit, kind, id, ToGbk({true, unit.name}, unit.line)});
  }

  // Parents and pages: a container lists its children in list order, page by page.
  std::vector<std::vector<std::vector<std::uint32_t>>> children(plans.size());
  std::vector<std::uint32_t> parentIds(plans.size(), 0);
  for (std::size_t i = 0; i < plans.size(); ++i) {
    auto defaultsIt = layout.defaults.find(plans[i].layoutUnit->kind);
    Fields f(plans[i].layoutUnit->attributes,
             defaultsIt == layout.defaults.end() ? nullptr : &defaultsIt->second, plans[i].layoutUnit->line);
    if (i == 0) continue;
    const Attribute& parent = f.GetCount("parent", 1);
    if (!parent.items[0].quoted && parent.items[0].text == "window") continue;
    auto found = byName.find(parent.items[0].text);
    if (!parent.items[0].quoted || found == byName.end()) {
      Fail(parent.line, "parent is 'window' or the quoted name of a unit of this window");
    }
    std::size_t p = found->second;
    parentIds[i] = plans[p].id;
    std::size_t page = 0;
    if (plans[p].kind->state & forms::kind_state::kPagedContainer) {
      auto parentDefaults = layout.defaults.find(plans[p].layoutUnit->kind);
      Fields parentFields(plans[p].layoutUnit->attributes,
                          parentDefaults == layout.defaults.end() ? nullptr : &parentDefaults->second,
                          plans[p].layoutUnit->line);
      std::size_t pages = PageCount(parentFields);
      page = f.Number("page");
      if (page < 1 || page > pages) Fail(f.Line(), "page outside the container's pages");
      --page;
      children[p].resize(pages);
    } else {
      children[p].resize(1);
    }
    children[p][page].push_back(plans[i].id);
  }

  std::vector<std::vector<std::uint8_t>> records;
  for (std::size_t i = 0; i < plans.size(); ++i) {
    const UnitPlan& plan = plans[i];
    context.unit = plan.layoutUnit->name;
    auto defaultsIt = layout.defaults.find(plan.layoutUnit->kind);
    Fields f(plan.layoutUnit->attributes, defaultsIt == layout.defaults.end() ? nullptr : &defaultsIt->second,
             plan.layoutUnit->line);
    if (i > 0) f.MarkUsed("parent");
    if (parentIds[i] != 0 && f.Find("page")) f.MarkUsed("page");

    Writer w;
    w.U32(plan.kind->id);
    w.Zeros(20);
    w.ZText(plan.name);
    w.ZText(f.Find("comment") ? f.Text("comment") : std::string());
    w.U32(0);  // object slot
    Numbers(w, f, "rect", 4);
    w.U32(0);  // cursor slot
    w.U32(parentIds[i]);

    std::vector<std::uint32_t> list;
    const bool paged = plan.kind->state & forms::kind_state::kPagedContainer;
    if (paged) {
      children[i].resize(PageCount(f));
    }
    for (const auto& page : children[i]) {
      list.insert(list.end(), page.begin(), page.end());
      if (paged) list.push_back(0);
    }
    w.U32(static_cast<std::uint32_t>(list.size()));
    for (std::uint32_t id : list) w.U32(id);

    w.CountedBytes(Cursor(f, context));
    w.ZText(f.Find("tag") ? f.Text("tag") : std::string());
    w.U32(0);
    w.U32(Flags(f));
    w.U32(0);

    std::vector<std::pair<std::int32_t, std::int32_t>> events;
    for (const auto& attribute : f.Own()) {
      if (attribute.key.rfind("on.", 0) != 0) continue;
      f.MarkUsed(attribute.key);
      std::int32_t index = 0;
      if (!forms::FindEventIndex(*plan.kind, attribute.key.substr(3), index)) {
        Fail(attribute.line, "no event '" + attribute.key.substr(3) + "' for " + plan.layoutUnit->kind);
      }
      if (attribute.items.size() != 1) Fail(attribute.line, "an event names one handler");
      const Item& handler = attribute.items[0];
      std::int32_t offset = -1;
      if (handler.text != "-") {
        auto it = handlers.find(handler.text);
        if (it == handlers.end()) Fail(attribute.line, "unknown handler '" + handler.text + "'");
        offset = it->second;
      }
      events.emplace_back(index, offset);
    }
    w.U32(static_cast<std::uint32_t>(events.size()));
    for (auto [index, offset] : events) {
      w.U32(static_cast<std::uint32_t>(index));
      w.U32(static_cast<std::uint32_t>(offset));
    }
    w.Zeros(20);
    KindData(w, plan.kind->id, f, context);
    f.CheckAllUsed();
    records.push_back(std::move(w.bytes));
  }

  Writer list;
  for (const auto& plan : plans) list.U32(plan.id);
  std::uint32_t offset = 0;
  for (const auto& record : records) {
    list.U32(offset);
    offset += 4 + static_cast<std::uint32_t>(record.size());
  }
  for (const auto& record : records) {
    list.U32(static_cast<std::uint32_t>(record.size()));
    list.Raw(record);
  }
  summary.reference = window.reference;
  summary.units = static_cast<std::uint32_t>(plans.size());
  summary.listLength = static_cast<std::uint32_t>(list.bytes.size());
  return list.bytes;
}

}  // namespace

bool EncodeLayout(const Layout& layout, const std::filesystem::path& assetsDir,
                  EncodeResult& result, std::string& error) {
  try {
    std::map<std::string, std::int32_t> handlers;
    for (std::size_t i = 0; i < layout.handlers.size(); ++i) {
      if (!handlers.emplace(layout.handlers[i], static_cast<std::int32_t>(i)).second) {
        throw LayoutError("handler listed twice: " + layout.handlers[i]);
      }
    }
    Context context{assetsDir, result.warnings, {}};

    Writer out;
    out.U32(static_cast<std::uint32_t>(8 * layout.windows.size()));
    std::vector<std::uint32_t> slots;
    for (const auto& window : layout.windows) {
      Fields f(window.attributes, nullptr, window.line);
      std::uint32_t id = f.Number("id");
      if (!forms::IsValidId(id) || forms::NamesUnit(id)) Fail(window.line, "not a window id");
      out.U32(id);
      slots.push_back(f.Number("slot"));
    }
    for (std::uint32_t slot : slots) out.U32(slot);

    for (const auto& window : layout.windows) {
      Fields f(window.attributes, nullptr, window.line);
      f.Number("id");
      f.Number("slot");
      out.U32(f.Number("valueA"));
      out.U32(f.Number("valueB"));
      out.CountedText(f.Text("name"));
      out.CountedText(f.Text("comment"));
      f.CheckAllUsed();
      WindowSummary summary;
      std::vector<std::uint8_t> list = EncodeWindow(layout, window, handlers, context, summary);
      out.U32(summary.units);
      out.CountedBytes(list);
      result.windows.push_back(summary);
    }
    result.bytes = std::move(out.bytes);
    return true;
  } catch (const LayoutError& e) {
    error = e.what();
    return false;
  }
}

}  // namespace resgen
