// Pico de memória dos totais por CST de uma empresa-período: roda os totais do crédito e do
// débito (como o M105/M505 e o M210/M610 os pedem) e imprime o pico de memória residente do
// processo. bench/memoria-totalcst.sh chama este programa sobre demonstrações de 10^5 e 10^6
// linhas e compara os picos.
//
// Uso: MemoriaTotalCST CONEXAO [EMPRESA] [AAAA-MM]
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "base/DateTime.h"
#include "blocom/generators/nFisEFDGeradorTotalCST_U.h"
#include "host/Database.h"
#include "host/Host.h"
#include "host/LctoFisTmp.h"

namespace {
int Linhas(TDataSet* ADataSet) {
  int n = 0;
  if (!ADataSet) return 0;
  for (ADataSet->First(); !ADataSet->Eof(); ADataSet->Next()) ++n;
  return n;
}
}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "uso: %s CONEXAO [EMPRESA] [AAAA-MM]\n", argv[0]);
    return 2;
  }
  try {
    THost host(TDatabase::Conectar(argv[1]));
    THostScope escopo(host);
    const int empresa = argc > 2 ? std::atoi(argv[2]) : 1;
    TDateTime inicio, fim;
    CompetenciaParaPeriodo(argc > 3 ? argv[3] : "2024-01", inicio, fim);
    TnGuardaTempDevolucao devolucoes(empresa, "", inicio, fim, false);
    int linhasFonte = 0, linhasTotal = 0;
    for (bool credito : {true, false}) {
      TnFisEFDGeradorTotalCST t;
      t.FCodigoEmpresa = empresa;
      t.FDataInicial = inicio;
      t.FDataFinal = fim;
      t.FProcessarCredito = credito;
      t.FProcessarDebito = !credito;
      t.FModoApuracao = true;
      t.GerarTotais();
      for (TDataSet* ds : {static_cast<TDataSet*>(t.FcurEntradaLcto.get()), static_cast<TDataSet*>(t.FcurSaidaLcto.get()),
                           static_cast<TDataSet*>(t.FcurEntDemaisDoc.get()), static_cast<TDataSet*>(t.FcurSaidaDemaisDoc.get())})
        linhasFonte += Linhas(ds);
      linhasTotal += Linhas(t.FcurTotalMov.get());
    }
    rusage uso{};
    getrusage(RUSAGE_SELF, &uso);
    std::printf("%ld %d %d\n", uso.ru_maxrss, linhasFonte, linhasTotal);
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "MemoriaTotalCST: %s\n", e.what());
    return 1;
  }
}
