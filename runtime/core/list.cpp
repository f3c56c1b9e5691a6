// SPDX-License-Identifier: GPL-3.0-or-later
// Element lists: doubly linked records with a cursor, drawn from a pool.
//
// The cursor rules are what make the game's loops work: a reset/next walk may
// delete the element it was just given and still visits every element once,
// because delete leaves the cursor on the predecessor (or before the first).

#include <cstring>
#include <new>

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

extern "C" {

rt_list* rt_list_new(int32_t record_size, void** current_var, const rt_field_desc* string_fields,
                     int32_t type_tag) {
    // The element (links, record) and the pool's slot around it stay well
    // inside 32 bits for every size accepted here.
    if (record_size < 0 || record_size > RT_LIST_MAX_RECORD) return nullptr;
    auto* list = new (std::nothrow) rt_list{};
    if (list == nullptr) return nullptr;
    list->current_var = current_var;
    list->string_fields = string_fields;
    list->element_size = static_cast<int32_t>(sizeof(rt_list_element)) + record_size;
    list->pool = rt_pool_new(list->element_size, kPoolMinSlots, kPoolMaxSlots);
    if (list->pool == nullptr) {
        delete list;
        return nullptr;
    }
    list->no_current = 1;
    list->type_tag = type_tag;
    return list;
}

void rt_list_free(rt_list* list) {
    if (!list) return;
    rt_list_clear(list);
    rt_pool_destroy(list->pool);
    delete list;
}

void rt_list_reset(rt_list* list) {
    list->current = nullptr;
    list->no_current = 1;
    publish(list);
}

void* rt_list_next(rt_list* list) {
    void* result = nullptr;
    if (list->current) {
        if (list->current->next) {
            list->current = list->current->next;
            list->index += 1;
            result = record_of(list->current);
        }
    } else {
        list->current = list->first;
        list->index = 0;
        result = record_of(list->current);
    }
    publish(list);
    return result;
}

void* rt_list_select(rt_list* list, int32_t i) {
    int32_t old = list->index;
    list->index = i;
    if (i < 0 || i >= list->count) {
        list->current = nullptr;
        list->no_current = 1;
        publish(list);
        return nullptr;
    }
    // Walk from whichever of first, last and current is nearest.
    rt_list_element* e;
    int32_t count = list->count;
    if (list->no_current || !list->current) {
        e = i < count / 2 ? forward(list->first, i) : backward(list->last, count - i - 1);
    } else if (i > old) {
        int32_t d = i - old, from_end = count - i;
        e = d < from_end ? forward(list->current, d) : backward(list->last, from_end - 1);
    } else {
        int32_t d = old - i;
        e = d < i ? backward(list->current, d) : forward(list->first, i);
    }
    list->current = e;
    list->no_current = 0;
    publish(list);
    return record_of(e);
}

void* rt_list_add(rt_list* list) {
    auto* e = static_cast<rt_list_element*>(rt_pool_alloc(list->pool));
    if (e == nullptr) return nullptr;
    std::memset(e, 0, static_cast<size_t>(list->element_size));
    list->count += 1;
    if (list->current) {
        e->previous = list->current;
        e->next = list->current->next;
        if (e->next) e->next->previous = e;
        list->current->next = e;
        list->index += 1;
    } else {
        e->next = list->first;
        if (e->next) e->next->previous = e;
        list->index = 0;
        list->no_current = 0;
    }
    list->current = e;
    if (!e->previous) list->first = e;
    if (!e->next) list->last = e;
    publish(list);
    return record_of(e);
}

void rt_list_delete(rt_list* list) {
    rt_list_element* e = list->current;
    if (!e) {
        publish(list);
        return;
    }
    list->count -= 1;
    if (e->previous) {
        e->previous->next = e->next;
        if (e->next)
            e->next->previous = e->previous;
        else
            list->last = e->previous;
        list->current = e->previous;
        list->index -= 1;
    } else if (e->next) {
        // The next rt_list_next yields the new first element.
        list->first = e->next;
        list->first->previous = nullptr;
        list->current = nullptr;
        list->no_current = 1;
    } else {
        list->first = list->last = list->current = nullptr;
        list->no_current = 1;
    }
    release_element(list, e);
    publish(list);
}

void rt_list_clear(rt_list* list) {
    if (list->string_fields) {
        for (rt_list_element* e = list->first; e; e = e->next)
            free_string_fields(static_cast<char*>(record_of(e)), list->string_fields);
    }
    rt_pool_free_all(list->pool);
    list->first = list->last = list->current = nullptr;
    list->count = 0;
    list->no_current = 1;
    publish(list);
}

int32_t rt_list_count(const rt_list* list) {
    return list->count;
}

}  // extern "C"
