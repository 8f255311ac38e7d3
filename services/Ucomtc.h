// The shared unit: constants, the ways of running commands, capture files, the readers, the message
// boxes and the widget helpers. Forms include this one header.
#pragma once

#include "machine/Capture.h"
#include "machine/Host.h"
#include "machine/IoError.h"
#include "machine/ShellWord.h"
#include "readers/Battery.h"
#include "readers/DeviceStates.h"
#include "readers/SecurityStates.h"
#include "readers/SysInfo.h"
#include "services/Commands.h"
#include "services/Constants.h"
#include "services/Launches.h"
#include "widgets/FormEvents.h"
#include "widgets/FormFont.h"
#include "widgets/Forms.h"
#include "widgets/Handlers.h"
#include "widgets/ItemHeight.h"
#include "widgets/MessageBox.h"
#include "widgets/Mnemonics.h"
#include "widgets/Placement.h"
#include "widgets/SharpPicture.h"
