# What `cmake --graphviz` draws for scripts/dependency-graph.sh: the project's own targets and
# the links between them. Libraries from the system (SDL2, Mesa, FFmpeg, GoogleTest, ...) and
# the object library of the Win32 subset's core, which is compiled into each backend rather than
# linked, are left out.
set(GRAPHVIZ_GRAPH_NAME "showcase")
set(GRAPHVIZ_EXTERNAL_LIBS FALSE)
set(GRAPHVIZ_OBJECT_LIBS FALSE)
set(GRAPHVIZ_GENERATE_PER_TARGET FALSE)
set(GRAPHVIZ_GENERATE_DEPENDERS FALSE)
