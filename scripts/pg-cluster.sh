# Funções para um cluster PostgreSQL descartável (usado por scripts/test).
# Depois de pg_iniciar, PISCO_PG_URL aponta para um banco vazio; pg_parar apaga tudo.

pg_bin() {
  local d
  d=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -1)
  [[ -n "$d" && -x "$d/initdb" ]] || { echo "test: binários do servidor PostgreSQL não encontrados" >&2; return 1; }
  echo "$d"
}

porta_livre() {
  local p
  for p in $(seq 55432 55532); do
    if ! (exec 3<>/dev/tcp/127.0.0.1/$p) 2>/dev/null; then echo "$p"; return 0; fi
  done
  return 1
}

pg_iniciar() {
  local bin; bin=$(pg_bin)
  PG_DIR=$(mktemp -d /tmp/pisco-pg.XXXXXX)
  PG_PORTA=$(porta_livre)
  PG_COMO=()
  PG_USUARIO=$(id -un)
  if [[ $(id -u) -eq 0 ]]; then
    # initdb recusa rodar como root: usa o usuário do pacote (ou nobody)
    if id postgres >/dev/null 2>&1; then PG_USUARIO=postgres; else PG_USUARIO=nobody; fi
    chown "$PG_USUARIO" "$PG_DIR"
    PG_COMO=(runuser -u "$PG_USUARIO" --)
  fi
  "${PG_COMO[@]}" "$bin/initdb" -D "$PG_DIR/data" -U pisco -A trust -E UTF8 --no-locale >"$PG_DIR/initdb.log" 2>&1 \
    || { cat "$PG_DIR/initdb.log" >&2; return 1; }
  "${PG_COMO[@]}" "$bin/pg_ctl" -D "$PG_DIR/data" -l "$PG_DIR/server.log" -w -t 60 \
    -o "-p $PG_PORTA -k $PG_DIR -c listen_addresses=127.0.0.1 -c fsync=off -c synchronous_commit=off -c full_page_writes=off -c max_connections=200" \
    start >/dev/null || { cat "$PG_DIR/server.log" >&2; return 1; }
  "$bin/createdb" -h 127.0.0.1 -p "$PG_PORTA" -U pisco pisco_teste
  export PISCO_PG_URL="postgresql://pisco@127.0.0.1:$PG_PORTA/pisco_teste"
  export PISCO_PG_EXIGIDO=1
  echo "test: PostgreSQL descartável em $PISCO_PG_URL" >&2
}

pg_parar() {
  [[ -n "${PG_DIR:-}" && -d "$PG_DIR" ]] || return 0
  local bin; bin=$(pg_bin) || true
  "${PG_COMO[@]}" "$bin/pg_ctl" -D "$PG_DIR/data" -m immediate stop >/dev/null 2>&1 || true
  rm -rf "$PG_DIR"
}
