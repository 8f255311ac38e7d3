// Drop-down lists whose entries have a fixed height, whatever the style would make of them.
#pragma once

class QComboBox;

namespace Ucomtc {

void UseItemHeight(QComboBox* list, int pixels);

} // namespace Ucomtc
