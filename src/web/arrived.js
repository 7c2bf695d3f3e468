if (Module['arrived']) Module['arrived']();
