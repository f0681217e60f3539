// velmar-restorer: the wizard front end of the restorer.
#include <QApplication>
#include <cstdio>

#include "app/MainDlg.h"
#include "app/Pictures.h"
#include "app/StartUp.h"

int main(int argc, char** argv) {
  const StartOptions options = ParseCommandLine(argc, argv);
  if (options.PrintOnly) {
    std::fputs(options.PrintOnly->c_str(), stdout);
    return 0;
  }
  QApplication application(argc, argv);
  ApplyStartOptions(options, application);
  // The menu is hidden while a wizard runs: only the menu ends the program.
  QApplication::setQuitOnLastWindowClosed(false);
  // Drawn once: the menu and every wizard show the application's icon.
  QApplication::setWindowIcon(Pictures::ProgramIcon());
  CMainDlg menu{WizardSettings()};
  QObject::connect(&menu, &QDialog::finished, &application,
                   [](int result) { QCoreApplication::exit(ProgramExitStatus(result)); });
  menu.show();
  return QApplication::exec();
}
