// SPDX-License-Identifier: GPL-3.0-or-later
// Element lists: doubly linked records with a cursor, drawn from a pool.
//
// The cursor rules are what make the game's loops work: a reset/next walk may
// delete the element it was just given and still visits every element once,
// because delete leaves the cursor on the predecessor (or before the first).

#include <cstring>
#include <new>

#include "runtime/core/boundary.h"
#include "runtime/core/rt_core.h"

namespace {

constexpr int32_t kPoolMinSlots = 16;
constexpr int32_t kPoolMaxSlots = 65536;
constexpr rt_field_desc kEnd = -1;
constexpr rt_field_desc kArray = -2;

void* record_of(rt_list_element* e) {
    return e ? RT_LIST_RECORD(e) : nullptr;
}

void publish(rt_list* list) {
    if (list->current_var) *list->current_var = list->current;
}

void free_string_fields(char* record, const rt_field_desc* desc) {
    while (desc && *desc != kEnd) {
        if (*desc >= 0) {
            char* text;
            std::memcpy(&text, record + *desc, sizeof text);
            rt_str_free(text);
            text = nullptr;
            std::memcpy(record + *desc, &text, sizeof text);
            desc += 1;
        } else if (*desc == kArray) {
            rt_field_desc count = desc[1], offset = desc[2], stride = desc[3];
            auto nested = reinterpret_cast<const rt_field_desc*>(desc[4]);
            for (rt_field_desc k = 0; k < count; ++k)
                free_string_fields(record + offset + k * stride, nested);
            desc += 5;
        } else {
            break;  // not a known entry: the description ends here
        }
    }
}

void release_element(rt_list* list, rt_list_element* e) {
    if (list->string_fields)
        free_string_fields(static_cast<char*>(record_of(e)), list->string_fields);
    rt_pool_release(list->pool, e);
}

rt_list_element* forward(rt_list_element* e, int32_t steps) {
    while (steps-- > 0) e = e->next;
    return e;
}

rt_list_element* backward(rt_list_element* e, int32_t steps) {
    while (steps-- > 0) e = e->previous;
    return e;
}

}  // namespace

using rt::core::fail;
using rt::core::guarded;

namespace {

constexpr const char* kNoList = "no list (NULL)";

// Runs a list operation on a list that is there.
template <class Result, class Work>
Result on_list(const char* function, Result failure, rt_list* list, Work&& work) noexcept {
    return guarded(function, failure, [&]() -> Result {
        if (list == nullptr) return fail(failure, kNoList);
        return work(*list);
    });
}

}  // namespace

extern "C" {

rt_list* rt_list_new(int32_t record_size, void** current_var, const rt_field_desc* string_fields,
                     int32_t type_tag) {
    return guarded(__func__, static_cast<rt_list*>(nullptr), [&]() -> rt_list* {
        // The element (links, record) and the pool's slot around it stay well
        // inside 32 bits for every size accepted here.
        if (record_size < 0 || record_size > RT_LIST_MAX_RECORD)
            return fail<rt_list*>(nullptr, "record size not within 0 .. RT_LIST_MAX_RECORD");
        auto* list = new (std::nothrow) rt_list{};
        if (list == nullptr) return fail<rt_list*>(nullptr, "out of memory");
        list->current_var = current_var;
        list->string_fields = string_fields;
        list->element_size = static_cast<int32_t>(sizeof(rt_list_element)) + record_size;
        list->pool = rt_pool_new(list->element_size, kPoolMinSlots, kPoolMaxSlots);
        if (list->pool == nullptr) {
            delete list;
            return nullptr;  // the pool said why
        }
        list->no_current = 1;
        list->type_tag = type_tag;
        return list;
    });
}

void rt_list_free(rt_list* list) {
    on_list(__func__, 0, list, [](rt_list& l) {
        rt_list_clear(&l);
        rt_pool_destroy(l.pool);
        delete &l;
        return 0;
    });
}

void rt_list_reset(rt_list* list) {
    on_list(__func__, 0, list, [](rt_list& l) {
        l.current = nullptr;
        l.no_current = 1;
        publish(&l);
        return 0;
    });
}

void* rt_list_next(rt_list* list) {
    return on_list(__func__, static_cast<void*>(nullptr), list, [](rt_list& l) {
        void* result = nullptr;  // past the last element: an answer, not a failure
        if (l.current) {
            if (l.current->next) {
                l.current = l.current->next;
                l.index += 1;
                result = record_of(l.current);
            }
        } else {
            l.current = l.first;
            l.index = 0;
            result = record_of(l.current);
        }
        publish(&l);
        return result;
    });
}

void* rt_list_select(rt_list* list, int32_t i) {
    return on_list(__func__, static_cast<void*>(nullptr), list, [i](rt_list& l) -> void* {
        int32_t old = l.index;
        l.index = i;
        if (i < 0 || i >= l.count) {
            // Documented: no element there, and no current element either.
            l.current = nullptr;
            l.no_current = 1;
            publish(&l);
            return nullptr;
        }
        // Walk from whichever of first, last and current is nearest.
        rt_list_element* e;
        int32_t count = l.count;
        if (l.no_current || !l.current) {
            e = i < count / 2 ? forward(l.first, i) : backward(l.last, count - i - 1);
        } else if (i > old) {
            int32_t d = i - old, from_end = count - i;
            e = d < from_end ? forward(l.current, d) : backward(l.last, from_end - 1);
        } else {
            int32_t d = old - i;
            e = d < i ? backward(l.current, d) : forward(l.first, i);
        }
        l.current = e;
        l.no_current = 0;
        publish(&l);
        return record_of(e);
    });
}

void* rt_list_add(rt_list* list) {
    return on_list(__func__, static_cast<void*>(nullptr), list, [](rt_list& l) -> void* {
        auto* e = static_cast<rt_list_element*>(rt_pool_alloc(l.pool));
        if (e == nullptr) return nullptr;  // the pool said why
        std::memset(e, 0, static_cast<size_t>(l.element_size));
        l.count += 1;
        if (l.current) {
            e->previous = l.current;
            e->next = l.current->next;
            if (e->next) e->next->previous = e;
            l.current->next = e;
            l.index += 1;
        } else {
            e->next = l.first;
            if (e->next) e->next->previous = e;
            l.index = 0;
            l.no_current = 0;
        }
        l.current = e;
        if (!e->previous) l.first = e;
        if (!e->next) l.last = e;
        publish(&l);
        return record_of(e);
    });
}

void rt_list_delete(rt_list* list) {
    on_list(__func__, 0, list, [](rt_list& l) {
        rt_list_element* e = l.current;
        if (!e) {
            publish(&l);
            return 0;
        }
        l.count -= 1;
        if (e->previous) {
            e->previous->next = e->next;
            if (e->next)
                e->next->previous = e->previous;
            else
                l.last = e->previous;
            l.current = e->previous;
            l.index -= 1;
        } else if (e->next) {
            // The next rt_list_next yields the new first element.
            l.first = e->next;
            l.first->previous = nullptr;
            l.current = nullptr;
            l.no_current = 1;
        } else {
            l.first = l.last = l.current = nullptr;
            l.no_current = 1;
        }
        release_element(&l, e);
        publish(&l);
        return 0;
    });
}

void rt_list_clear(rt_list* list) {
    on_list(__func__, 0, list, [](rt_list& l) {
        if (l.string_fields) {
            for (rt_list_element* e = l.first; e; e = e->next)
                free_string_fields(static_cast<char*>(record_of(e)), l.string_fields);
        }
        rt_pool_free_all(l.pool);
        l.first = l.last = l.current = nullptr;
        l.count = 0;
        l.no_current = 1;
        publish(&l);
        return 0;
    });
}

int32_t rt_list_count(const rt_list* list) {
    return on_list(__func__, 0, const_cast<rt_list*>(list), [](rt_list& l) { return l.count; });
}

}  // extern "C"
