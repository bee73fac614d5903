#pragma once

#include "platform/Pasteboard.h"
#include "platform/Permissions.h"
#include "platform/ScreenCapture.h"
#include "platform/Screens.h"
#include "platform/SystemAlerts.h"

#include <QStringList>

namespace markvane::testing {

class FakePasteboard : public platform::Pasteboard {
public:
    void writeImage(const QImage& image) override {
        written = image;
        ++writeCount;
    }
    platform::PastedImage readImage(qint64 maxPixels) override {
        platform::PastedImage result;
        if (content.isNull())
            return result;
        result.size = content.size();
        if (qint64(content.width()) * content.height() > maxPixels) {
            result.status = platform::PastedImage::Status::TooLarge;
            return result;
        }
        result.status = platform::PastedImage::Status::Image;
        result.image = content;
        return result;
    }

    QImage written;
    int writeCount = 0;
    QImage content; // what a paste reads
};

class FakePermissions : public platform::Permissions {
public:
    bool screenCaptureAllowed() const override { return screenCapture; }
    bool keyboardMonitoringAllowed() const override { return keyboard; }
    void requestScreenRecording(const QString& reason) override { requests.append(reason); }

    bool screenCapture = true;
    bool keyboard = true;
    QStringList requests;
};

class FakeAlerts : public platform::SystemAlerts {
public:
    void beep() override { ++beeps; }
    void notify(const QString& title, const QString& message) override {
        notices.append(title + QLatin1String(": ") + message);
    }

    int beeps = 0;
    QStringList notices;
};

class FakeScreens : public platform::Screens {
public:
    QList<platform::ScreenInfo> screens() const override { return list; }
    QPointF pointerLocation() const override { return pointer; }
    void setScreens(QList<platform::ScreenInfo> screens) {
        list = std::move(screens);
        Q_EMIT screensChanged();
    }

    QList<platform::ScreenInfo> list;
    QPointF pointer;
};

// Captures complete only when the test calls finish(), like the real
// asynchronous service.
class FakeScreenCapture : public platform::ScreenCapture {
public:
    void captureRect(const QRectF& globalRect, const platform::ScreenInfo& screen,
                     Completion completion) override {
        requests.append({globalRect, screen, std::move(completion)});
    }
    void finish(int index, std::optional<QImage> image) { requests[index].completion(image); }

    struct Request {
        QRectF rect;
        platform::ScreenInfo screen;
        Completion completion;
    };
    QList<Request> requests;
};

} // namespace markvane::testing
