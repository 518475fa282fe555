// The sample project of the build, read by the cutting-line and column force tests.
#pragma once

#include <string>

namespace clforcetest {

inline std::string SamplePath() { return std::string(PVX_BINARY_DIR) + "/examples/sample.pvxdb"; }

}  // namespace clforcetest
