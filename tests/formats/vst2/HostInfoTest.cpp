#include "RunCommand.h"
#include "TestPaths.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using HostRun = testsupport::CommandRun;

HostRun hostInfo(const std::string& pluginPath)
{
    const std::string command = std::string(testpaths::binDir()) + "/grelmond-host --info '" + pluginPath + "' 2>&1";
    return testsupport::runCommand(command);
}

int countLinesStartingWith(const std::string& text, const std::string& prefix, std::size_t from)
{
    int n = 0;
    for (std::size_t pos = text.find('\n', from); pos != std::string::npos; pos = text.find('\n', pos + 1))
        n += text.compare(pos + 1, prefix.size(), prefix) == 0 ? 1 : 0;
    return n;
}

TEST(HostInfo, PrintsWhatAHostReadsFromThePlugin)
{
    const HostRun run = hostInfo(testpaths::pluginPath());
    ASSERT_EQ(run.status, 0) << run.output;
    for (const char* line : {"Effect name    Grelmond\n", "Vendor         Zavr\n", "Product        Zavr Grelmond 1.0\n",
                             "Vendor version 10\n", "Unique id      'zaGr'", "Flags          309 ",
                             "Programs 64, parameters 64, inputs 0, outputs 2", "Editor         629 x 484\n",
                             "\"Grelmond L\" (\"GRL L\"), flags 3", "\"Grelmond R\" (\"GRL R\"), flags 3"})
        EXPECT_NE(run.output.find(line), std::string::npos) << line << "\n" << run.output;

    // One line per program and per parameter, each indented by its number.
    const std::size_t programs = run.output.find("\nPrograms\n");
    const std::size_t parameters = run.output.find("\nParameters");
    ASSERT_NE(programs, std::string::npos);
    ASSERT_NE(parameters, std::string::npos);
    EXPECT_EQ(countLinesStartingWith(run.output.substr(0, parameters), "   63  ", programs), 1);
    EXPECT_EQ(countLinesStartingWith(run.output, "   63  ", parameters), 1);
    EXPECT_EQ(countLinesStartingWith(run.output, "   64  ", programs), 0);
}

TEST(HostInfo, RefusesWhatIsNotAPlugin)
{
    const HostRun missing = hostInfo("/nonexistent/Nothing.so");
    EXPECT_EQ(missing.status, 1) << missing.output;
    // A real shared library without either entry point.
    const HostRun noEntry = hostInfo("libm.so.6");
    EXPECT_EQ(noEntry.status, 1) << noEntry.output;
    EXPECT_NE(noEntry.output.find("neither VSTPluginMain nor main"), std::string::npos) << noEntry.output;
}

} // namespace
