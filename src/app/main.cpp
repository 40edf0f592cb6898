// kv_print and ts_print: one program, whose product mode is the name it was started under.
#include "app/print_station.h"
#include "app/start_values.h"
#include "ui/german_texts.h"

#include <QApplication>
#include <QDir>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    InstallGermanTexts();
    StartValues values = DeriveStartValues(argv[0], QDir::currentPath().toStdString(), BuildStamp());
    PrintStation station;
    return station.Run(values);
}
