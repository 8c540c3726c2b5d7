#pragma once

// Numbers the query datasets of a job: qry0, qry1, ... Reset to 0 at the start of every job.
extern int QueryCounter;
