#include "system/Platform.h"
#include "shell/CEditorApp.h"

int main(int argc, char** argv)
{
    // A save cut short by a signal leaves no temporary file beside its target.
    rw::RemoveTemporaryFilesOnSignals();
    rw::CEditorApp app(argc, argv);
    if (!app.InitInstance()) return 1;
    return app.exec();
}
