#include <QApplication>

#include "app/uFrmMain.h"
#include "app/uPlatformSetup.h"
#include "app/uVCLTheme.h"
#include "settings/uSetup.h"
#include "speech/uSpSpeechLib.h"
#include "speech/uSpeech.h"
#include "text/uTransList.h"

namespace {

// Each module's start work, before any window exists.
void StartModules() {
  RefreshLightMode();
  SapiLoadVoices();
  BuildSpeechItems();
  LoadDictionary();
  InitSetup(Setup);
}

} // namespace

int main(int argc, char *argv[]) {
  // Qt's session bus and clipboard need the application object, so it comes
  // before the platform services and the modules' start work.
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("murmelo"));
  QApplication::setDesktopFileName(QStringLiteral("murmelo"));
  TPlatformSetup platformSetup;
  StartModules();
  ApplyStyle(LightStyleName(), nullptr);
  TFrmMain FrmMain;
  FrmMain.show();
  return QApplication::exec();
}
