// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/velmoraapplication.h"

#include <QTest>

// Runs a test object under the program's own application object, so that errors reach the
// error box exactly as they do in the program.
#define VELMORA_APP_TEST_MAIN(TestObject)                                                          \
    int main(int argc, char *argv[]) {                                                             \
        velmora::VelmoraApplication application(argc, argv);                                       \
        application.setAttribute(Qt::AA_Use96Dpi, true);                                           \
        TestObject test;                                                                           \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
