#pragma once
// A controller library made of local functions that count their calls, exported through the
// fake loader under the contract's names.
#include <string>
#include <vector>

#include "tests/fakes/fake_library_loader.h"

namespace tramox::controller::testing {

// Every exported name with its stub; `without` names are left out of the library.
fakes::FakeLibraryLoader::Exports stubExports(const std::vector<std::string>& without = {});

// Total number of stub calls since the last reset.
int stubCalls();
void resetStubCalls();

}  // namespace tramox::controller::testing
