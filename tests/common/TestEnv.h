#pragma once

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>

// Every test runs in a fresh temporary working folder that is also its HOME and runtime folder,
// with Brazilian conventions unless the test sets others.
class TestEnv
{
public:
    TestEnv();
    ~TestEnv();
    QString path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
};

// Registers the program's embedded fonts and sets the screens' font, as the program does at start.
void prepareTestApplication();

#define DALVORA_TEST_MAIN(TestClass)                                                                                   \
    int main(int argc, char *argv[])                                                                                   \
    {                                                                                                                  \
        TestEnv env;                                                                                                   \
        QApplication app(argc, argv);                                                                                  \
        prepareTestApplication();                                                                                      \
        TestClass tc;                                                                                                  \
        QTEST_SET_MAIN_SOURCE_PATH                                                                                     \
        return QTest::qExec(&tc, argc, argv);                                                                          \
    }
