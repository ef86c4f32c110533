// The program entry: the application object with its title and error
// handler, the main window, and the message loop until that window closes.
#include "Unit2d.h"
#include "application.h"

int main(int argc, char* argv[]) {
    TApplication Application(argc, argv);
    TForm2d Form2d;
    Form2d.show();
    return TApplication::exec();
}
