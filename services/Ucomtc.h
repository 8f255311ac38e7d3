// The shared unit: constants, the ways of running commands, capture files, the daemon client and
// the message boxes. Forms include this one header.
#pragma once

#include "Battery.h"
#include "CaptureFile.h"
#include "Commands.h"
#include "Constants.h"
#include "FormEvents.h"
#include "FormFont.h"
#include "Forms.h"
#include "Handlers.h"
#include "Host.h"
#include "IoError.h"
#include "ItemHeight.h"
#include "Launches.h"
#include "Messages.h"
#include "Mnemonics.h"
#include "Placement.h"
#include "PrivilegedClient.h"
#include "SharpPicture.h"
#include "ShellWord.h"
#include "SysInfo.h"
