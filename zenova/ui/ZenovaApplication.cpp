#include "ZenovaApplication.h"

#include "Layout.h"
#include "TForm1.h"
#include "TForm2.h"
#include "TForm3.h"
#include "TForm4.h"
#include "Tintro.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QProgressBar>

namespace zenova {

namespace {

constexpr int kStartUpWait = 501;  // milliseconds after each window, so the form can be read

}  // namespace

ZenovaApplication::ZenovaApplication(Services services, const QString& workingDirectory)
    : services_(std::move(services)) {
    const QString folder = workingDirectory.isEmpty() ? QDir::currentPath() : workingDirectory;
    intro_ = std::make_unique<Tintro>();
    const QSize screen = services_.screen.size();
    intro_->move((screen.width() - intro_->width()) / 2, (screen.height() - intro_->height()) / 2);
    intro_->show();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    intro_->repaint();

    // The captions stay as the windows give them: an application display name would be
    // appended to every one of them.
    QCoreApplication::setApplicationName("Zenova");
    const auto progress = [this](int created, int waited) {
        intro_->ProgressBar1->setValue(created);
        services_.clock.wait(kStartUpWait);
        intro_->ProgressBar1->setValue(waited);
    };
    form1_ = std::make_unique<TForm1>(*this);
    progress(13, 26);
    form2_ = std::make_unique<TForm2>(*this);
    form2_->FormCreate();
    progress(39, 52);
    form3_ = std::make_unique<TForm3>(*this, folder);
    progress(65, 78);
    form4_ = std::make_unique<TForm4>(*this, folder);
    form4_->FormCreate();
    progress(81, 100);
    intro_->close();
}

ZenovaApplication::~ZenovaApplication() {
    // The other windows read the main window while they go; they go first.
    form4_.reset();
    form3_.reset();
    form2_.reset();
    form1_.reset();
    intro_.reset();
}

void ZenovaApplication::show() { layout::bringToFront(form1_.get()); }

int ZenovaApplication::exec() {
    if (!ended_) {
        QEventLoop loop;
        loop_ = &loop;
        loop.exec();
        loop_ = nullptr;
    }
    return exitStatus_;
}

void ZenovaApplication::end(int exitStatus) {
    if (!ended_) {
        ended_ = true;
        exitStatus_ = exitStatus;
    }
    if (loop_ != nullptr) {
        loop_->exit(exitStatus_);
    }
}

}  // namespace zenova
