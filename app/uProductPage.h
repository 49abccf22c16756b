#pragma once

#include <QString>

// The file:// address of the product page in the language asked for: the
// page beside the executable when it is there (a build tree or a portable
// copy), otherwise the one in the installed share folder.
QString ProductPageAddress(bool japanese);
