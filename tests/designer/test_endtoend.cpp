#include "DesignerTest.h"
#include "TestEnvironment.h"
class T : public QObject { Q_OBJECT };
int main(int argc, char** argv) { InitTestEnvironment(); QApplication app(argc, argv); T t; return QTest::qExec(&t, argc, argv); }
#include "test_endtoend.moc"
