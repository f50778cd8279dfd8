#include "ui/user_interface.h"

CUserInterface &CUserInterface::Current() {
    static CUserInterface current;
    return current;
}
