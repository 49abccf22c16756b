#include "chat/uChatFilter.h"

TSecondLifeLogOptions SecondLifeLogOptions;
