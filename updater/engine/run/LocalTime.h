// The local date and time of the machine, as the state file records them.
#pragma once

// Local date as YYYYMMDD and local time as HHMMSS (DateNumber, TimeNumber).
int Today();
int Now();
