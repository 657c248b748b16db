// Save failures on request, for a test build of tolvani-cli: with
// TOLVANI_TEST_SAVE_FAILURE="STEP ERROR" in the environment (STEP one of
// create, write, replace; ERROR the system's error number), every save of a
// regular file fails at that step as the system would fail it, whoever runs
// the tool. Without it every save goes as usual.
#include <cstdlib>
#include <cstring>
#include <string>

#include "model/AtomicFile.h"

namespace {

[[maybe_unused]] const bool g_injected = [] {
    const char* text = std::getenv("TOLVANI_TEST_SAVE_FAILURE");
    if (!text) return false;
    const std::string spec = text;
    const auto space = spec.find(' ');
    if (space == std::string::npos) return false;
    const std::string step = spec.substr(0, space);
    const int error = std::atoi(spec.c_str() + space + 1);
    using tolvani::SaveStep;
    if (step == "create")
        tolvani::InjectSaveFailure(SaveStep::Create, error);
    else if (step == "write")
        tolvani::InjectSaveFailure(SaveStep::Write, error);
    else if (step == "replace")
        tolvani::InjectSaveFailure(SaveStep::Replace, error);
    else
        return false;
    return true;
}();

}  // namespace
