// The one place that includes the OpenGL function loader. Every file that
// makes OpenGL calls includes this header instead of a GL header of its own.
#pragma once
#include <GL/glew.h>
