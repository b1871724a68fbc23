#include "support/TestMain.h"

#include <QTest>
#include <vector>

#ifdef TARVOK_TEST_GUI
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif

namespace {

std::vector<TestFactory>& testClasses() {
    static std::vector<TestFactory> classes;
    return classes;
}

} // namespace

bool registerTestClass(TestFactory factory) {
    testClasses().push_back(std::move(factory));
    return true;
}

int main(int argc, char** argv) {
    TestApplication app(argc, argv);
    int failures = 0;
    for (const TestFactory& factory : testClasses()) {
        const std::unique_ptr<QObject> test = factory();
        failures += QTest::qExec(test.get(), argc, argv);
    }
    return failures == 0 ? 0 : 1;
}
