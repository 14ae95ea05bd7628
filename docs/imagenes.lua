-- A screenshot that has not been taken yet is left out of the page, with its paragraph,
-- rather than left as a missing resource.
local function existe(ruta)
  local f = io.open(ruta, "rb")
  if f then
    f:close()
    return true
  end
  io.stderr:write("pagina.sh: falta " .. ruta .. "; la página sale sin esa imagen\n")
  return false
end

function Para(parrafo)
  if #parrafo.content == 1 and parrafo.content[1].t == "Image" and
      not existe(parrafo.content[1].src) then
    return {}
  end
end

function Image(imagen)
  if not existe(imagen.src) then
    return {}
  end
end
