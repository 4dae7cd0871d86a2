-- Drives Grelmond's VST 3 bundle inside Ardour without a screen or sound card.
--   ardour7-lua session-vst3.lua make  SESSION_DIR DUMP   new session: a MIDI track with
--       the plug-in, a few recorded notes, programs 5 and 9 edited, 9 selected; saved
--   ardour7-lua session-vst3.lua check SESSION_DIR DUMP   the saved session reopened and saved again
--   ardour7-lua session-vst3.lua vst2  SESSION_DIR DUMP   the saved session with the VST 2 build in
--       the VST 3 build's place, program 9 edited the same way, saved as the snapshot "vst2"
-- make and check write the live values, then every program's name and values, to DUMP.
-- A VST 3 host hands parameter values to the processor with its next cycle:
-- the script lets a few cycles pass after each change.

local common = dofile(debug.getinfo(1, "S").source:match("^@(.*/)") .. "session-common.lua")
local mode, folder, dump_path = arg[1], arg[2], arg[3]
local plugin_name = "Grelmond" -- the name the factory gives its class
local class_id = "5A61764772656C6D6F6E645653543301" -- its fixed class id
local settle_ms = 60

-- Edits on the bank file's three-decimal grid.
local edits = {
  { program = 5, values = { { 46, 0.25 }, { 63, 0.7 }, { 57, 0.4 } } },
  { program = 9, values = { { 29, 0.3 }, { 46, 0.85 } } },
}

-- Ardour lists the plug-in's program list as presets named by class id and index.
local function program_preset(plugin, index)
  local preset = plugin:preset_by_uri(string.format("VST3-P:%s:%04d", class_id, index))
  if not preset or not preset.valid then common.fail("no program " .. index) end
  return preset
end

local function select_program(plugin, index)
  plugin:load_preset(program_preset(plugin, index))
  common.wait_ms(settle_ms)
end

-- The live values first (the current program as it was restored), then every
-- program; the current program is selected again afterwards.
local function dump(insert, plugin, current)
  local out = io.open(dump_path, "w")
  out:write(common.values_line("live", insert))
  for p = 0, 63 do
    select_program(plugin, p)
    out:write(common.values_line("program" .. p, insert))
    out:write("name" .. p .. " " .. program_preset(plugin, p).label:gsub(" ", "_") .. "\n")
  end
  out:close()
  select_program(plugin, current)
end

common.start_engine()
local track
if mode == "make" then
  track = common.create(folder, plugin_name, ARDOUR.PluginType.VST3)
else
  common.open(folder)
  if mode == "vst2" then common.swap_in_vst2(9, edits[2].values, settle_ms) end
  track = common.track()
end
local insert, plugin = common.plugin_of(track)

if mode == "make" then
  common.record_notes(track)
  common.apply_edits(edits, function(p) select_program(plugin, p) end,
    function(i, v) common.set_value(insert, i, v, settle_ms) end)
  if math.abs(common.value(insert, 46) - 0.85) > 1e-6 then common.fail("cutoff reads back as " .. common.value(insert, 46)) end
end

dump(insert, plugin, 9)
common.save_and_close(mode)
