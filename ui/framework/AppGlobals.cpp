#include "ui/framework/AppGlobals.h"

HINSTANCE AppInstance = nullptr;
char AppCaption[100] = "Sylvane Programmateur";
char AppClassName[100] = "CHRONEL";
