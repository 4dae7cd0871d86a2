-- Drives Grelmond's LV2 build inside Ardour without a screen or sound card.
--   ardour7-lua session-lv2.lua make  SESSION_DIR DUMP   new session: a MIDI track with
--       the plug-in, a few recorded notes, programs 5 and 9 selected by MIDI program
--       change and edited through the ports, 9 left current; saved
--   ardour7-lua session-lv2.lua check SESSION_DIR DUMP   the saved session reopened and saved again
--   ardour7-lua session-lv2.lua vst2  SESSION_DIR DUMP   the saved session with the VST 2 build in
--       the LV2 build's place, program 9 edited the same way, saved as the snapshot "vst2"
-- make and check write the port values Ardour holds to DUMP; the programs themselves
-- travel in the plug-in's state, which the test reads from the saved session.

local common = dofile(debug.getinfo(1, "S").source:match("^@(.*/)") .. "session-common.lua")
local mode, folder, dump_path = arg[1], arg[2], arg[3]
local plugin_uri = "urn:zavr:grelmond"
local settle_ms = 100 -- a port reaches the plug-in in the next cycle

-- Values off the bank file's three-decimal grid: the state carries them exactly.
local edits = {
  { program = 5, values = { { 46, 0.2512 }, { 63, 0.7 }, { 57, 0.4 } } },
  { program = 9, values = { { 29, 0.3 }, { 46, 0.8537 } } },
}

common.start_engine()
local track
if mode == "make" then
  track = common.create(folder, plugin_uri, ARDOUR.PluginType.LV2)
else
  common.open(folder)
  if mode == "vst2" then common.swap_in_vst2(9, edits[2].values, settle_ms) end
  track = common.track()
end
local insert = common.plugin_of(track)

if mode == "make" then
  local send = common.record_notes(track)
  -- Live input passes to the plug-in: programs are chosen the way a keyboard chooses them.
  track:monitoring_control():set_value(ARDOUR.MonitorChoice.MonitorInput, PBD.GroupControlDisposition.NoGroup)
  common.wait_ms(200)
  common.apply_edits(edits, function(p) send(0xC0, p) common.wait_ms(200) end,
    function(i, v) common.set_value(insert, i, v, settle_ms) end)
  track:monitoring_control():set_value(ARDOUR.MonitorChoice.MonitorAuto, PBD.GroupControlDisposition.NoGroup)
  common.wait_ms(200)
end

local out = io.open(dump_path, "w")
out:write(common.values_line("ports", insert))
out:close()
common.save_and_close(mode)
