#include "app/uQtMainThread.h"

#include <QMetaObject>
#include <QObject>

#include "platform/MainThread.h"

TQtMainThread::TQtMainThread()
    : FQueue(std::make_unique<platform::TMainThreadQueue>()),
      FWakeContext(std::make_unique<QObject>()) {
  platform::TMainThreadQueue *queue = FQueue.get();
  QObject *context = FWakeContext.get();
  FQueue->SetWakeUp([queue, context] {
    QMetaObject::invokeMethod(
        context, [queue] { queue->ServePending(); }, Qt::QueuedConnection);
  });
}

TQtMainThread::~TQtMainThread() {
  FQueue->Close();
  FWakeContext.reset();
}
