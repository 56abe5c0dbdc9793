// The converter form: runs until the user closes the window.
#pragma once

void varnix_forms();
