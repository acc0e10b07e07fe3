// The program of every GUI test class: `gui_tests CLASS [QtTest options]` runs one
// class, `gui_tests --list` names them, `gui_tests` alone runs them all in turn.

#include "gui_test_registry.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace lexaloom::testing {

namespace {

std::map<std::string, GuiTestRun> &Registry()
{
    static std::map<std::string, GuiTestRun> tests;
    return tests;
}

} // namespace

bool RegisterGuiTest(const char *name, GuiTestRun run)
{
    // Two classes of one name would hide one of them from every run.
    if (!Registry().emplace(name, std::move(run)).second) {
        std::fprintf(stderr, "gui_tests: the test class %s is registered twice\n", name);
        std::abort();
    }
    return true;
}

} // namespace lexaloom::testing

int main(int argc, char *argv[])
{
    using lexaloom::testing::Registry;
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);

    if (argc > 1 && std::strcmp(argv[1], "--list") == 0) {
        for (const auto &[name, run] : Registry())
            std::printf("%s\n", name.c_str());
        return 0;
    }
    if (argc > 1 && argv[1][0] != '-') {
        auto found = Registry().find(argv[1]);
        if (found == Registry().end()) {
            std::fprintf(stderr, "gui_tests: no test class %s (--list names them)\n", argv[1]);
            return 2;
        }
        // QtTest sees the program name and the options after the class.
        std::vector<char *> args{argv[0]};
        args.insert(args.end(), argv + 2, argv + argc);
        return found->second(int(args.size()), args.data());
    }
    int failures = 0;
    for (const auto &[name, run] : Registry())
        failures += run(argc, argv);
    return failures == 0 ? 0 : 1;
}
