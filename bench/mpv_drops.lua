-- Tells the benchmark how many pictures mpv dropped, before the file goes.
mp.add_hook("on_unload", 50, function()
    io.stderr:write(string.format("dropped=%d\n",
        (mp.get_property_number("frame-drop-count", 0) or 0) +
        (mp.get_property_number("decoder-frame-drop-count", 0) or 0)))
end)
