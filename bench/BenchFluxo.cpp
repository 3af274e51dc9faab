// Leitura em fluxo: percorre 10^5 e 10^6 linhas de uma consulta e mede o pico de memória
// residente de cada leitura num processo filho (SQLite e, com PISCO_PG_URL, PostgreSQL).
// A razão pico(10^6) / pico(10^5) deve ficar abaixo de 1,5: memória constante.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fmt/format.h>
#include <random>
#include <string>
#include <vector>

#include "host/Database.h"
#include "host/Host.h"
#include "host/Nutildb.h"

namespace {

constexpr int64_t kMaiorN = 1000000;
const char* kConsulta = "SELECT ID, NOME, VALOR, DATA FROM FLUXO WHERE ID <= :N ORDER BY ID";

struct TBackend {
  std::string Nome;
  std::string Conexao;  // texto de conexão já apontando para os dados
  std::string Limpeza;  // schema a apagar (PostgreSQL)
};

void Preparar(TDatabase& banco, bool pg) {
  banco.ExecutarScript(std::string("CREATE TABLE FLUXO (ID INTEGER PRIMARY KEY, NOME VARCHAR(40), VALOR ") +
                       (pg ? "NUMERIC(18,2)" : "REAL") + ", DATA " + (pg ? "DATE" : "TEXT") + ")");
  banco.Executar(
      "INSERT INTO FLUXO (ID, NOME, VALOR, DATA) "
      "WITH RECURSIVE G(N) AS (SELECT 1 UNION ALL SELECT N + 1 FROM G WHERE N < :N) "
      "SELECT N, 'PRODUTO ' || N, (N % 100000) / 100.0, :D FROM G",
      {kMaiorN, VarDate(EncodeDate(2024, 1, 31))});
}

// Filho: conecta, percorre n linhas e termina; o pai lê o pico de memória por wait4.
long PicoFilho(const std::string& conexao, int64_t n, int64_t& linhas, bool cliente = false) {
  int canal[2];
  if (pipe(canal) != 0) return -1;
  const pid_t pid = fork();
  if (pid == 0) {
    close(canal[0]);
    int64_t total = 0;
    try {
      THost host(TDatabase::Conectar(conexao));
      THostScope escopo(host);
      auto ds = Nutildb::ExecutarSQL(kConsulta, {n}, cliente);
      double soma = 0;
      for (; !ds->Eof(); ds->Next()) {
        soma += ds->Fields(2).AsFloat();
        ++total;
      }
      benchmark::DoNotOptimize(soma);
    } catch (const std::exception& e) {
      std::fprintf(stderr, "bench: %s\n", e.what());
      _exit(2);
    }
    if (write(canal[1], &total, sizeof total) != sizeof total) _exit(3);
    _exit(0);
  }
  close(canal[1]);
  int status = 0;
  struct rusage uso {};
  wait4(pid, &status, 0, &uso);
  if (read(canal[0], &linhas, sizeof linhas) != sizeof linhas) linhas = -1;
  close(canal[0]);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1;
  return uso.ru_maxrss;  // KiB
}

std::vector<TBackend> gBackends;

void BM_Fluxo(benchmark::State& estado, const TBackend* b) {
  THost host(TDatabase::Conectar(b->Conexao));
  THostScope escopo(host);
  const int64_t n = estado.range(0);
  for (auto _ : estado) {
    auto ds = Nutildb::ExecutarSQL(kConsulta, {n});
    int64_t k = 0;
    for (; !ds->Eof(); ds->Next()) ++k;
    benchmark::DoNotOptimize(k);
  }
  estado.SetItemsProcessed(estado.iterations() * n);
}

}  // namespace

int main(int argc, char** argv) {
  // SQLite: arquivo temporário
  char modelo[] = "/tmp/pisco-bench-XXXXXX";
  const int fd = mkstemp(modelo);
  if (fd < 0) return 1;
  close(fd);
  const std::string arquivo = modelo;
  std::unique_ptr<TDatabase> adminPG;
  try {
    {
      auto b = TDatabase::Conectar(arquivo, TModoAbertura::maCriar);
      Preparar(*b, false);
    }
    gBackends.push_back({"SQLite", arquivo, ""});
    const char* url = std::getenv("PISCO_PG_URL");
    if (url && *url) {
      std::random_device rd;
      const std::string schema = fmt::format("pisco_bench_{}_{:08x}", getpid(), rd());
      adminPG = TDatabase::Conectar(url);
      adminPG->Executar("CREATE SCHEMA " + schema);
      const std::string u = url;
      const std::string con = u + (u.find('?') == std::string::npos ? "?" : "&") + "options=-c%20search_path%3D" + schema;
      {
        auto b = TDatabase::Conectar(con);
        Preparar(*b, true);
        b->Executar("ANALYZE FLUXO");
      }
      gBackends.push_back({"PostgreSQL", con, schema});
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "bench: preparação falhou: %s\n", e.what());
    std::remove(arquivo.c_str());
    return 1;
  }

  int codigo = 0;
  std::printf("Pico de memória residente ao percorrer a consulta (processo filho, KiB)\n");
  std::printf("%-11s %12s %12s %8s\n", "backend", "10^5 linhas", "10^6 linhas", "razão");
  for (const auto& b : gBackends) {
    int64_t l5 = 0, l6 = 0;
    const long p5 = PicoFilho(b.Conexao, 100000, l5);
    const long p6 = PicoFilho(b.Conexao, kMaiorN, l6);
    if (p5 <= 0 || p6 <= 0 || l5 != 100000 || l6 != kMaiorN) {
      std::printf("%-11s falhou (linhas lidas: %lld e %lld)\n", b.Nome.c_str(), static_cast<long long>(l5),
                  static_cast<long long>(l6));
      codigo = 1;
      continue;
    }
    const double razao = static_cast<double>(p6) / static_cast<double>(p5);
    std::printf("%-11s %12ld %12ld %8.3f %s\n", b.Nome.c_str(), p5, p6, razao, razao < 1.5 ? "ok" : "ACIMA DE 1,5");
    if (razao >= 1.5) codigo = 1;
  }
  {
    // controle: a mesma consulta carregada inteira em memória (TnClientDataSet) cresce com N
    int64_t l5 = 0, l6 = 0;
    const long p5 = PicoFilho(gBackends[0].Conexao, 100000, l5, true);
    const long p6 = PicoFilho(gBackends[0].Conexao, kMaiorN, l6, true);
    std::printf("%-11s %12ld %12ld %8.3f (controle: carregada em memória, deve crescer)\n", "SQLite/cds", p5, p6,
                static_cast<double>(p6) / static_cast<double>(p5 > 0 ? p5 : 1));
  }
  std::fflush(stdout);

  for (const auto& b : gBackends)
    benchmark::RegisterBenchmark(("BM_Fluxo/" + b.Nome).c_str(), BM_Fluxo, &b)
        ->Arg(100000)
        ->Arg(kMaiorN)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();

  std::remove(arquivo.c_str());
  for (const auto& b : gBackends)
    if (!b.Limpeza.empty() && adminPG) adminPG->Executar("DROP SCHEMA " + b.Limpeza + " CASCADE");
  return codigo;
}
