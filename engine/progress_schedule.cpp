#include "engine/progress_schedule.h"

namespace {

struct ScheduleStep {
    int count;
    int maximum;
};

const ScheduleStep kSchedule[] = {
    {100, 300},   {300, 500},   {500, 1000},   {1000, 1500},   {1500, 2000},   {2000, 3000},
    {3000, 5000}, {5000, 8000}, {8000, 10000}, {10000, 15000}, {15000, 20000},
};

}  // namespace

int ProgressMaximumFor(int count)
{
    for (const ScheduleStep& step : kSchedule) {
        if (step.count == count)
            return step.maximum;
    }
    return 0;
}
