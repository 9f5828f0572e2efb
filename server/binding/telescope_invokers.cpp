// ITelescope: which driver member each row of the member table runs.
#include "server/binding/generated_rows.h"

namespace tramox::server::binding {
namespace {

#define TRAMOX_ROWS_TARGET driver::TTelescope
const RowCall<driver::TTelescope> kTelescopeCalls[] = {
#include "ITelescope_members.inc"
};
#undef TRAMOX_ROWS_TARGET

}  // namespace

std::span<const Invoker<driver::TTelescope>> telescopeInvokers() {
  static const auto rows = rowsOf<driver::TTelescope>(telescopeInterface(), kTelescopeCalls);
  return rows;
}

}  // namespace tramox::server::binding
