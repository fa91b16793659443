// Kolvane.exe: the Windows program.
#include "ui/startup.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previousInstance, LPSTR commandTail, int showState)
{
    return kolvane::ui::KolvaneMain(instance, previousInstance, commandTail, showState);
}
