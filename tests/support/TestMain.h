#pragma once

#include <QObject>

#include <functional>
#include <memory>

// One test executable per folder runs every test class of that folder: each class registers
// itself with TARVOK_TEST and the shared main runs them in turn.
using TestFactory = std::function<std::unique_ptr<QObject>()>;
bool registerTestClass(TestFactory factory);

#define TARVOK_TEST(Class)                                                                                             \
    namespace {                                                                                                        \
    const bool registered##Class = registerTestClass([] { return std::make_unique<Class>(); });                        \
    }
