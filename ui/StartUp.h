#pragma once

#include <QStringList>

#include <memory>

class TAbout;
class TForm1;
class TForm2;
class TGoToForm;
class TLicense;
class TSearch;

// The program's start: its windows created in their fixed order, each once for the whole run,
// the splash shown for a second, the command line acted on, then the message loop.
class StartUp
{
public:
    // parameters: the command line without the program's name.
    explicit StartUp(QStringList parameters);
    ~StartUp();

    StartUp(const StartUp &) = delete;
    StartUp &operator=(const StartUp &) = delete;

    // Everything before the message loop: the windows, the splash and the main window shown.
    // A QApplication must exist. splashMilliseconds is how long the splash stays.
    void Start(int splashMilliseconds = 1000);
    // Start, then the message loop until the main window closes; returns the exit code.
    int Run();

    TForm1 *Form1() const { return form1_.get(); }
    TForm2 *Form2() const { return form2_.get(); }
    TAbout *About() const { return about_.get(); }
    TLicense *License() const { return license_.get(); }
    TSearch *Search() const { return search_.get(); }
    TGoToForm *GoToForm() const { return goTo_.get(); }

private:
    QStringList parameters_;
    // Declared in creation order, so that they go in the reverse one.
    std::unique_ptr<TForm1> form1_;
    std::unique_ptr<TForm2> form2_;
    std::unique_ptr<TAbout> about_;
    std::unique_ptr<TLicense> license_;
    std::unique_ptr<TSearch> search_;
    std::unique_ptr<TGoToForm> goTo_;
};
