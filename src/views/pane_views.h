#pragma once
// The views a project's windows hold: the design form, the coefficient view and
// the frequency, time and pole-zero plots.

#include "views/coefficient_view.h"
#include "views/design_form.h"
#include "views/freq_plot.h"
#include "views/pole_zero_plot.h"
#include "views/time_plot.h"
