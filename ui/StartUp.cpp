#include "StartUp.h"

#include "MessageBoxes.h"
#include "RawDataAccessible.h"
#include "WindowFont.h"
#include "frmAbout.h"
#include "frmGoTo.h"
#include "frmLicense.h"
#include "frmMain.h"
#include "frmSearch.h"
#include "frmSplash.h"

#include <QApplication>
#include <QTimer>

StartUp::StartUp(QStringList parameters)
    : parameters_(std::move(parameters))
{ }

StartUp::~StartUp() = default;

void StartUp::Start(int splashMilliseconds)
{
    QCoreApplication::setApplicationName(MessageBoxes::ApplicationTitle());
    // The main window's close ends the program (TForm1::closeEvent), not the last window's.
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setFont(WindowFont());
    RawDataAccessible::Install();

    // The main window's creation loads a file named on the command line, before the splash.
    form1_ = std::make_unique<TForm1>(parameters_);
    form2_ = std::make_unique<TForm2>();
    about_ = std::make_unique<TAbout>();
    license_ = std::make_unique<TLicense>();
    form1_->SetInformationWindows(about_.get(), license_.get());

    form2_->Timer1->setInterval(splashMilliseconds);
    form2_->exec();

    // Find in Files restores its part of the settings the main window has read.
    search_ = std::make_unique<TSearch>(form1_->Settings());
    goTo_ = std::make_unique<TGoToForm>();
    form1_->SetSearchWindow(search_.get());
    form1_->SetGoToForm(goTo_.get());

    form1_->show();
}

int StartUp::Run()
{
    Start();
    return QApplication::exec();
}
