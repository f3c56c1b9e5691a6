// SPDX-License-Identifier: GPL-3.0-or-later
// Typed access to the records of the runtime's element lists. The list hands
// out untyped record addresses; these helpers give them the record's type.
#pragma once
#include "runtime/core/rt_core.h"

template <class Record>
Record* ListNext(rt_list* list) {
    return static_cast<Record*>(rt_list_next(list));
}

template <class Record>
Record* ListAdd(rt_list* list) {
    return static_cast<Record*>(rt_list_add(list));
}
