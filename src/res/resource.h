// Resource ids shared by the program's code and the resource script.
#pragma once

#define IDR_MAINFRAME 145
