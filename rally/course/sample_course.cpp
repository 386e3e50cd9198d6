#include "rally/course/course_writer.h"
