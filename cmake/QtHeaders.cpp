// The source of hx_qt_pch, the precompiled Qt headers; it compiles nothing of its own.
