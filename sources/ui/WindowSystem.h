// The window system's public interface: include this one header.
#pragma once

#include "ui/Controls.h"
#include "ui/Dialogs.h"
#include "ui/Drawing.h"
#include "ui/Messages.h"
#include "ui/Styles.h"
#include "ui/System.h"
#include "ui/Types.h"
#include "ui/Windows.h"
