#include "ZenovaApplication.h"

#include "TForm1.h"
#include "TForm2.h"

#include <QCoreApplication>

namespace zenova {

ZenovaApplication::ZenovaApplication(Services services) : services_(std::move(services)) {
    // The captions stay as the windows give them: an application display name would be
    // appended to every one of them.
    QCoreApplication::setApplicationName("Zenova");
    form1_ = std::make_unique<TForm1>(*this);
    form2_ = std::make_unique<TForm2>(*this);
    form2_->FormCreate();
}

ZenovaApplication::~ZenovaApplication() {
    // The diagram window reads the main window while it goes; it goes first.
    form2_.reset();
    form1_.reset();
}

void ZenovaApplication::show() {
    form1_->show();
    form1_->raise();
    form1_->activateWindow();
}

}  // namespace zenova
