#pragma once
// The ribbon builder is the main window's own; these tests drive it on a
// stand-in form.
#include "ide/MainRibbon.h"
