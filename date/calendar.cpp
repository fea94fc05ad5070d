#include "date/calendar.h"

namespace spanlet {

int32_t year_start(int32_t year) {
    return day_number({year, 1, 1}) - 1;
}

int32_t day_of_year(const date& d) {
    return day_number(d) - year_start(d.year);
}

}  // namespace spanlet
