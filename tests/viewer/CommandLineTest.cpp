#include <gtest/gtest.h>

#include "viewer/CommandLine.h"

namespace tolvani::viewer {
namespace {

using Action = CommandLine::Action;

TEST(CommandLine, SwitchesInAnyCaseAndPathsIncludingAbsoluteOnes) {
    struct Case {
        std::vector<std::string> args;
        Action action;
        std::string path;
    };
    const std::vector<Case> cases = {
        {{}, Action::NewDocument, ""},
        {{"plan.jww"}, Action::OpenFile, "plan.jww"},
        {{"/home/a/plan.jww"}, Action::OpenFile, "/home/a/plan.jww"},
        {{"-Embedding"}, Action::Embedding, ""},
        {{"/embedding", "/tmp/obj.jww"}, Action::Embedding, "/tmp/obj.jww"},
        {{"-AUTOMATION"}, Action::Automation, ""},
        {{"/Register"}, Action::Register, ""},
        {{"-regserver"}, Action::Register, ""},
        {{"/Unregister"}, Action::Unregister, ""},
        {{"-UnRegServer"}, Action::Unregister, ""},
        {{"/Registered/plan.jww"}, Action::OpenFile, "/Registered/plan.jww"},
        {{"-x", "a.jww", "b.jww"}, Action::OpenFile, "a.jww"},
        {{"/"}, Action::OpenFile, "/"},
    };
    for (const Case& c : cases) {
        const CommandLine line = ParseCommandLine(c.args);
        std::string shown;
        for (const auto& a : c.args) shown += a + " ";
        EXPECT_EQ(line.action, c.action) << shown;
        EXPECT_EQ(line.path, c.path) << shown;
    }
    EXPECT_EQ(ParseCommandLine({"-x", "a.jww"}).ignored, std::vector<std::string>{"-x"});
}

}  // namespace
}  // namespace tolvani::viewer
