#include "app/board_links.h"

#include <string_view>

#include "app/board_objects.h"
#include "app/board_rules.h"
#include "runtime/services/shell_win.h"

namespace board {
namespace {

constexpr std::string_view kWebsite = BOARD_LINK_WEBSITE;
constexpr std::string_view kShop = BOARD_LINK_SHOP;
constexpr std::string_view kContact1 = BOARD_LINK_CONTACT_1;
constexpr std::string_view kContact2 = BOARD_LINK_CONTACT_2;

void OpenPage(std::string_view target) {
  if (target.empty()) return;
  services::ShellRun(0, ResolveLinkTarget(target, State().runPrefix));
}

void OpenChat(std::string_view target) {
  if (target.empty()) return;
  services::OpenLink(ResolveLinkTarget(target, State().runPrefix));
}

}  // namespace

forms::HandlerReturn OpenWebsite(std::span<const std::int32_t>) {
  OpenPage(kWebsite);
  return forms::NoResult();
}

forms::HandlerReturn OpenShop(std::span<const std::int32_t>) {
  OpenPage(kShop);
  return forms::NoResult();
}

forms::HandlerReturn OpenContact1(std::span<const std::int32_t>) {
  OpenChat(kContact1);
  return forms::NoResult();
}

forms::HandlerReturn OpenContact2(std::span<const std::int32_t>) {
  OpenChat(kContact2);
  return forms::NoResult();
}

}  // namespace board
