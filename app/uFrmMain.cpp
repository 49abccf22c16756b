#include "app/uFrmMain.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QScreen>
#include <QShowEvent>
#include <QSplitter>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "Lib/uVTUtils.Win.h"
#include "app/uProductPage.h"
#include "app/uQtText.h"
#include "app/uVCLTheme.h"
#include "chat/uFolderWatchThread.h"
#include "platform/Platform.h"
#include "settings/uSetup.h"
#include "speech/uSpeech.h"

namespace {

const char *const IconNameProperty = "iconName";
constexpr int ToolbarHeight = 30;
constexpr int ButtonWidth = 80;
constexpr int LinkButtonWidth = 130;
constexpr int MemoTHeight = 62;
constexpr int SplitterHeight = 3;

} // namespace

TFrmMain::TFrmMain(QWidget *parent)
    : QWidget(parent), SVGIconVirtualImageList1(QColor(0x00, 0x00, 0x00)),
      SVGIconVirtualImageList2(QColor(0xFF, 0xFF, 0xFF)) {
  CreateComponents();
  ConnectControls();
  FormCreate();
}

TFrmMain::~TFrmMain() { FormDestroy(); }

void TFrmMain::CreateComponents() {
  setObjectName(QStringLiteral("FrmMain"));
  setWindowIcon(TSVGIconList::AppIcon());
  // The window's client area; its smallest outer size of 640 x 240 less a
  // desktop frame leaves 624 x 201 for the client.
  resize(624, 221);
  setMinimumSize(624, 201);

  auto *layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);

  Panel1 = new QWidget(this);
  Panel1->setObjectName(QStringLiteral("Panel1"));
  Panel1->setFixedHeight(ToolbarHeight);
  auto *toolbar = new QHBoxLayout(Panel1);
  toolbar->setContentsMargins(0, 0, 0, 0);
  toolbar->setSpacing(0);
  sbStart = CreateButton(QStringLiteral("sbStart"), QStringLiteral("Start"),
                         QStringLiteral("Read Aloud"), ButtonWidth);
  sbSkip = CreateButton(QStringLiteral("sbSkip"), QStringLiteral("Skip"),
                        QStringLiteral("Read Skip"), ButtonWidth);
  sbTime = CreateButton(QStringLiteral("sbTime"), QStringLiteral("Time"),
                        QStringLiteral("Time Signal"), ButtonWidth);
  sbTool = CreateButton(QStringLiteral("sbTool"), QStringLiteral("Setup"),
                        QStringLiteral("Setting"), ButtonWidth);
  sbURL = CreateButton(QStringLiteral("sbURL"), QStringLiteral("VELTRA"), QStringLiteral("Link"),
                       LinkButtonWidth);
  for (QToolButton *button : {sbStart, sbSkip, sbTime, sbTool})
    toolbar->addWidget(button);
  toolbar->addStretch(1);
  toolbar->addWidget(sbURL);
  layout->addWidget(Panel1);

  PanelM = new QWidget(this);
  PanelM->setObjectName(QStringLiteral("PanelM"));
  auto *panelLayout = new QVBoxLayout(PanelM);
  panelLayout->setContentsMargins(0, 0, 0, 0);
  panelLayout->setSpacing(0);
  spMemoT = new QSplitter(Qt::Vertical, PanelM);
  spMemoT->setObjectName(QStringLiteral("spMemoT"));
  spMemoT->setHandleWidth(SplitterHeight);
  spMemoT->setChildrenCollapsible(false);

  Memo1 = new QPlainTextEdit(spMemoT);
  Memo1->setObjectName(QStringLiteral("Memo1"));
  Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
  Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);

  MemoT = new QPlainTextEdit(spMemoT);
  MemoT->setObjectName(QStringLiteral("MemoT"));
  MemoT->setReadOnly(true);
  MemoT->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  MemoT->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  MemoT->setMinimumHeight(24);

  spMemoT->addWidget(Memo1);
  spMemoT->addWidget(MemoT);
  spMemoT->setStretchFactor(0, 1);
  spMemoT->setStretchFactor(1, 0);
  spMemoT->setSizes({height() - ToolbarHeight - SplitterHeight - MemoTHeight, MemoTHeight});
  panelLayout->addWidget(spMemoT);
  layout->addWidget(PanelM, 1);

  TimerTimeSignal = new QTimer(this);
  TimerTimeSignal->setObjectName(QStringLiteral("TimerTimeSignal"));
  TimerTimeSignal->stop();
}

QToolButton *TFrmMain::CreateButton(const QString &name, const QString &caption,
                                    const QString &iconName, int width) {
  auto *button = new QToolButton(Panel1);
  button->setObjectName(name);
  button->setText(caption);
  button->setAutoRaise(true);
  button->setFocusPolicy(Qt::NoFocus);
  button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  button->setIconSize(QSize(TSVGIconList::IconSize, TSVGIconList::IconSize));
  button->setFixedSize(width, ToolbarHeight);
  button->setProperty(IconNameProperty, iconName);
  return button;
}

void TFrmMain::FormCreate() {
  sbURL->setProperty("address", ProductPageAddress(IsJapaneseLocale()));
  sbURL->setToolTip(sbURL->property("address").toString());
  LoadSetup();
  ScheduleTimeSignal();
  ApplyStayOnTop();
  SetButtonIcon(sbStart, QStringLiteral("Read Aloud"));
  sbTime->setEnabled(false);
  setWindowTitle(QStringLiteral("MURMELO3 ver.") + ToQString(GetFileVersionText()));
  ShowTranslationPane(Setup.OllamaisUse);
  ApplyTheme();
  FollowThemeChanges([this] { ApplyTheme(); });
  isFirst = true;
}

void TFrmMain::showEvent(QShowEvent *event) {
  QWidget::showEvent(event);
  FormShow();
}

void TFrmMain::FormShow() {
  if (!isFirst)
    return;
  if (const QScreen *display = screen())
    move(display->availableGeometry().center() - rect().center());
  SetSpeechAudioOut(Setup.SpeechIndex, Setup.AudioOut);
  StartSpeechDevice(Setup.SpeechIndex, Setup.SpAutoStart, Setup.BouyomiFile);
  UpdateSkipButton();
  isFirst = false;
}

void TFrmMain::FormDestroy() {
  StopFolderWatch(FFolderWatch);
  if (platform::Services.Appearance != nullptr)
    FollowThemeChanges({});
  if (IsReading())
    StopSpeechDevice(Setup.SpeechIndex, Setup.SpAutoClose);
}

void TFrmMain::ShowText(const std::u16string &text) {
  if (text.empty())
    return;
  QString plain = ToQString(text);
  plain.replace(QLatin1String("\r\n"), QLatin1String("\n"))
      .replace(QLatin1Char('\r'), QLatin1Char('\n'));
  // Suspended, so the area is never seen empty between clearing and filling.
  Memo1->setUpdatesEnabled(false);
  Memo1->setPlainText(plain);
  Memo1->setUpdatesEnabled(true);
}

void TFrmMain::ShowTranslationPane(bool visible) {
  MemoT->setVisible(visible);
  spMemoT->handle(spMemoT->indexOf(MemoT))->setVisible(visible);
}

void TFrmMain::ApplyTheme() {
  const bool light = IsLightTheme();
  FImages = light ? &SVGIconVirtualImageList1 : &SVGIconVirtualImageList2;
  for (QToolButton *button : {sbStart, sbTime, sbSkip, sbTool, sbURL})
    button->setIcon(FImages->Icon(button->property(IconNameProperty).toString()));
  ApplyStyle(light ? LightStyleName() : DarkStyleName(), this);
  update();
}

void TFrmMain::SetButtonIcon(QToolButton *button, const QString &name) {
  button->setProperty(IconNameProperty, name);
  button->setIcon(FImages->Icon(name));
}

void TFrmMain::ApplyStayOnTop() {
  const bool onTop = Setup.StayOnTop;
  if (windowFlags().testFlag(Qt::WindowStaysOnTopHint) == onTop)
    return;
  // Changing a window flag hides a shown window; bring it back where it was.
  const bool wasVisible = isVisible();
  const QRect where = geometry();
  setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
  if (wasVisible) {
    setGeometry(where);
    show();
  }
}

void TFrmMain::UpdateSkipButton() {
  const std::int32_t index = Setup.SpeechIndex;
  const bool known = index >= 0 && static_cast<std::size_t>(index) < SpeechItems.size();
  sbSkip->setEnabled(known &&
                     SpeechItems[static_cast<std::size_t>(index)].SPType != TSpeechType::stBouyomi);
}
