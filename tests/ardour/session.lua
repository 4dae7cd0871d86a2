-- Drives Grelmond inside Ardour without a screen or sound card.
--   ardour7-lua session.lua make  SESSION_DIR DUMP   new session: a MIDI track with
--       the plug-in, a few recorded notes, programs 5 and 9 edited, 9 selected; saved
--   ardour7-lua session.lua check SESSION_DIR DUMP   the saved session reopened and saved again
-- Both write the live values and then every program's values to DUMP.

local common = dofile(debug.getinfo(1, "S").source:match("^@(.*/)") .. "session-common.lua")
local mode, folder, dump_path = arg[1], arg[2], arg[3]

-- Edits on the bank file's three-decimal grid.
local edits = {
  { program = 5, values = { { 46, 0.25 }, { 63, 0.7 }, { 57, 0.4 } } },
  { program = 9, values = { { 29, 0.3 }, { 46, 0.85 } } },
}

-- The live values first (the current program as it was restored), then every
-- program; the current program is selected again afterwards.
local function dump(insert, plugin, current)
  local out = io.open(dump_path, "w")
  out:write(common.values_line("live", insert))
  for p = 0, 63 do
    common.vst2_program(plugin, p)
    out:write(common.values_line("program" .. p, insert))
  end
  out:close()
  common.vst2_program(plugin, current)
end

common.start_engine()
local track
if mode == "make" then
  track = common.create(folder, common.vst2_id, ARDOUR.PluginType.LXVST)
else
  common.open(folder)
  track = common.track()
end
local insert, plugin = common.plugin_of(track)

if mode == "make" then
  common.record_notes(track)
  common.apply_edits(edits, function(p) common.vst2_program(plugin, p) end,
    function(i, v) common.set_value(insert, i, v) end)
  if math.abs(common.value(insert, 46) - 0.85) > 1e-6 then common.fail("cutoff reads back as " .. common.value(insert, 46)) end
end

dump(insert, plugin, 9)
common.save_and_close(mode)
