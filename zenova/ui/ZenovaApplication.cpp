#include "ZenovaApplication.h"

#include "Layout.h"
#include "TForm1.h"
#include "TForm2.h"
#include "TForm3.h"
#include "TForm4.h"

#include <QCoreApplication>
#include <QDir>

namespace zenova {

ZenovaApplication::ZenovaApplication(Services services, const QString& workingDirectory)
    : services_(std::move(services)) {
    const QString folder = workingDirectory.isEmpty() ? QDir::currentPath() : workingDirectory;
    // The captions stay as the windows give them: an application display name would be
    // appended to every one of them.
    QCoreApplication::setApplicationName("Zenova");
    form1_ = std::make_unique<TForm1>(*this);
    form2_ = std::make_unique<TForm2>(*this);
    form2_->FormCreate();
    form3_ = std::make_unique<TForm3>(*this, folder);
    form4_ = std::make_unique<TForm4>(*this, folder);
    form4_->FormCreate();
}

ZenovaApplication::~ZenovaApplication() {
    // The other windows read the main window while they go; they go first.
    form4_.reset();
    form3_.reset();
    form2_.reset();
    form1_.reset();
}

void ZenovaApplication::show() { layout::bringToFront(form1_.get()); }

}  // namespace zenova
