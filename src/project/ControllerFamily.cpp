#include "project/ControllerFamily.h"

namespace talvorin {
namespace {

constexpr ControllerFamily kFanuc{
    .kind = ControllerKind::kFanuc, .name = "FANUC", .trycutTemplate = "FANUC.CTL", .g15Systems = false};
constexpr ControllerFamily kOsp{
    .kind = ControllerKind::kOsp, .name = "OSP", .trycutTemplate = "OSP.CTL", .g15Systems = true};
constexpr ControllerFamily kUnknown{
    .kind = ControllerKind::kUnknown, .name = "", .trycutTemplate = "FANUC.CTL", .g15Systems = false};

}  // namespace

const ControllerFamily& FamilyOf(std::string_view controller) {
  if (controller.find("FANUC") != std::string_view::npos) return kFanuc;
  if (controller.find("OSP") != std::string_view::npos) return kOsp;
  return kUnknown;
}

}  // namespace talvorin
