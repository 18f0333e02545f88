#include "shell/CEditorApp.h"

int main(int argc, char** argv)
{
    rw::CEditorApp app(argc, argv);
    if (!app.InitInstance()) return 1;
    return app.exec();
}
