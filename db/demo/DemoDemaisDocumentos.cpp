// Demais documentos (F100) e outras fontes de receita e crédito.
#include "db/demo/DemoEmpresa.h"

namespace demo {

void TGeradorEmpresa::DemaisDocumentos() {
  if (!EhEFD() || Cumulativa()) return;
  auto& f = c("EFDF100DEMAISDOC",
              "CODIGOEMPRESA CODIGOESTAB SEQ DATALCTOFIS INDOPER CODIGOPESSOA CODIGOPRODUTO CODIGOCENTROCUSTO VALOROPER "
              "CST CSTCOFINS ALIQPIS ALIQCOFINS BASECALCULO VALORPIS VALORCOFINS TIPOCREDITO TIPOCREDITOCOFINS TIPODEBITO "
              "TIPODEBITOCOFINS ORIGEMCREDITO COMPENSACRED COMPENSARETENCAO CONTACTB DESCRICAO");
  int seq = 0;
  for (const auto& e : FEstabs) {
    // aluguel de prédio (crédito), serviço importado (origem 1), receita financeira e receita isenta
    const int64_t aluguel = s.Entre(300000, 1500000);
    const int cstAluguel = FPerfil == TPerfilDemo::pdMisto ? 56 : 50;
    f.Linha({I(FEmpresa), I(e.Codigo), I(++seq), D(FInicio + 4), I(0), I(s.Entre(11, kPessoas)), N(), T("CC1"),
             V(aluguel), I(cstAluguel), I(cstAluguel), A(16500), A(76000), V(aluguel), V(Tributo(aluguel, 16500)),
             V(Tributo(aluguel, 76000)), T("4.3.07.05"), T("4.3.07.05"), N(), N(), I(0), T("1"), T("1"),
             T("4.1.2.01.003"), T("ALUGUEL DO PRÉDIO")});
    SomarCredito(e.Codigo, "4.3.07.05", cstAluguel, 16500, 76000, false, 0, aluguel, Tributo(aluguel, 16500),
                 Tributo(aluguel, 76000));
    if (e.Codigo == 1) {
      const int64_t servico = s.Entre(200000, 800000);
      f.Linha({I(FEmpresa), I(1), I(++seq), D(FInicio + 9), I(0), I(2), N(), T("CC2"), V(servico), I(50), I(50),
               A(16500), A(76000), V(servico), V(Tributo(servico, 16500)), V(Tributo(servico, 76000)), T("4.3.07.03"),
               T("4.3.07.03"), N(), N(), I(1), T("1"), T("1"), T("4.1.2.01.004"), T("SERVIÇO CONTRATADO NO EXTERIOR")});
      SomarCredito(1, "4.3.07.03", 50, 16500, 76000, false, 3000, servico, Tributo(servico, 16500),
                   Tributo(servico, 76000));
    }
    const int64_t financeira = s.Entre(50000, 400000);
    f.Linha({I(FEmpresa), I(e.Codigo), I(++seq), D(FInicio + 14), I(1), N(), N(), T("CC1"), V(financeira), I(1), I(1),
             A(16500), A(76000), V(financeira), V(Tributo(financeira, 16500)), V(Tributo(financeira, 76000)), N(), N(),
             T("4.3.05.01"), T("4.3.05.01"), I(0), T("0"), T("1"), T("3.3.1.01.001"), T("RECEITA DE ALUGUEL DE SALAS")});
    FDebitos[{e.Codigo, 15, "4.3.05.01", 16500, false}].Somar(financeira, financeira, Tributo(financeira, 16500));
    FDebitos[{e.Codigo, 16, "4.3.05.01", 76000, false}].Somar(financeira, financeira, Tributo(financeira, 76000));
    FReceita[0] += financeira;
    const int64_t isenta = s.Entre(20000, 300000);
    f.Linha({I(FEmpresa), I(e.Codigo), I(++seq), D(FInicio + 19), I(2), N(), N(), T("CC1"), V(isenta), I(6), I(6), A(0),
             A(0), V(0), V(0), V(0), N(), N(), T("4.3.11.101"), T("4.3.11.101"), I(0), T("1"), T("1"), T("3.3.1.01.002"),
             T("RECEITA DE APLICAÇÃO FINANCEIRA")});
    FIsentas[{e.Codigo, 15, 6, "4.3.11.101", "3.3.1.01.002"}].Somar(isenta, 0, 0);
    FIsentas[{e.Codigo, 16, 6, "4.3.11.101", "3.3.1.01.002"}].Somar(isenta, 0, 0);
    FReceita[1] += isenta;
  }

  // estoque de abertura da matriz: 1/12 do crédito presumido por mês
  const int64_t estoque = s.Entre(5000000, 20000000);
  const int64_t mensal = estoque / 12;
  c("EFDCREDPRESESTOQABERT",
    "CODIGOEMPRESA CODIGOESTAB DATALCTOFIS SEQ VLRTOTEST VLRESTIMP VLRBCEST VLRBCMENEST CSTPIS ALIQPIS VLRCREDPIS "
    "CSTCOFINS ALIQCOFINS VLRCREDCOFINS DESCEST CONTACTB TIPOAPURACAO")
      .Linha({I(FEmpresa), I(1), D(FInicio), I(1), V(estoque), V(0), V(estoque), V(mensal), I(50), A(6500),
              V(Tributo(estoque, 6500)), I(50), A(30000), V(Tributo(estoque, 30000)), T("ESTOQUE DE MERCADORIAS"),
              T("1.1.3.01.001"), I(0)});
  FCreditos[{1, 15, "4.3.07.18", 50, 6500, "04"}].Somar(mensal, mensal, Tributo(estoque, 6500) / 12);
  FCreditos[{1, 16, "4.3.07.18", 50, 30000, "04"}].Somar(mensal, mensal, Tributo(estoque, 30000) / 12);
  // O lucro real guarda a parcela do mês do mesmo estoque (caminho dos lançamentos sem a EFD).
  c("LUCROREALCREDPRESESTOQABERT",
    "CODIGOEMPRESA CODIGOESTAB DATALCTOFIS SEQ VLRTOTEST VLRESTIMP VLRBCEST VLRBCMENEST CSTPIS ALIQPIS VLRCREDPIS "
    "CSTCOFINS ALIQCOFINS VLRCREDCOFINS DESCEST CONTACTB")
      .Linha({I(FEmpresa), I(1), D(FInicio), I(1), V(estoque), V(0), V(estoque), V(mensal), I(50), A(6500),
              V(Tributo(mensal, 6500)), I(50), A(30000), V(Tributo(mensal, 30000)), T("ESTOQUE DE MERCADORIAS"),
              T("1.1.3.01.001")});

  // exclusões da base, deduções diversas, exclusões de cooperativa e folha
  auto& excl = c("EFDDEDUCAOEXCLUSAO",
                 "CODIGOEMPRESA CODIGOESTAB DATALCTOFIS SEQ CODIGODET CSTDET ALIQPIS ALIQCOFINS VALORDET INFOCOMPL");
  excl.Linha({I(FEmpresa), I(1), D(FInicio + 20), I(1), I(101), I(1), A(16500), A(76000), V(s.Entre(10000, 90000)),
              T("VENDAS CANCELADAS")});
  excl.Linha({I(FEmpresa), I(1), D(FInicio + 20), I(2), I(1020101), I(1), A(16500), A(76000), V(s.Entre(5000, 30000)),
              T("EXCLUSÃO ESPECÍFICA")});
  auto& ded = c("EFDDEDUCOESDIVERSAS",
                "CODIGOEMPRESA CODIGOESTAB DATALCTOFIS SEQ INDORIDED VLDEDPIS VLDEDCOFINS VLBCOPER CNPJ INFCOMP "
                "TIPOAPURACAO INDNATDED");
  const int64_t dedBase = s.Entre(100000, 500000);
  const int natDed = FPerfil == TPerfilDemo::pdMisto ? 1 : 0;
  ded.Linha({I(FEmpresa), I(1), D(FInicio + 24), I(1), I(1), V(Tributo(dedBase, 6500)), V(Tributo(dedBase, 30000)),
             V(dedBase), T(CNPJ(90000000 + FEmpresa, 1)), T("CRÉDITO PRESUMIDO DE ST"), I(0), I(natDed)});
  FDeducao[{15, natDed}] += Tributo(dedBase, 6500);
  FDeducao[{16, natDed}] += Tributo(dedBase, 30000);
  if (FPerfil == TPerfilDemo::pdMisto) {
    auto& coop = c("EFDEXCLUCOOP",
                   "CODIGOEMPRESA CODIGOESTAB DATALCTOFIS SEQ IMPOSTO TIPOAPURACAO TIPODEBITO INDTIPCOOP VLEXCCOOPGER "
                   "VLEXCESPCOOP");
    const int64_t ger = s.Entre(50000, 200000), esp = s.Entre(10000, 50000);
    coop.Linha({I(FEmpresa), I(1), D(FInicio + 27), I(1), I(15), I(0), T("4.3.05.01"), I(1), V(ger), V(esp)});
    coop.Linha({I(FEmpresa), I(1), D(FInicio + 27), I(2), I(16), I(0), T("4.3.05.01"), I(1), V(ger), V(esp)});
    FCoop = {ger, esp};
    const int64_t folha = s.Entre(20000000, 60000000), exclusao = Parte(folha, 5, 100);
    c("EFDPISPASEPFOLHA", "CODIGOEMPRESA CODIGOESTAB PERIODO ALIQUOTA TOTALFOLHA EXCLUSAO BASECALCULO VALORPISPASEP")
        .Linha({I(FEmpresa), I(1), D(FInicio), A(10000), V(folha), V(exclusao), V(folha - exclusao),
                V(Tributo(folha - exclusao, 10000))});
    // A mesma folha na tabela do lucro real, que é a que o caminho SQL lê para esta empresa.
    c("LUCROREALPISPASEPFOLHA", "CODIGOEMPRESA CODIGOESTAB PERIODO ALIQUOTA TOTALFOLHA EXCLUSAO BASECALCULO VALORPISPASEP")
        .Linha({I(FEmpresa), I(1), D(FInicio), A(10000), V(folha), V(exclusao), V(folha - exclusao),
                V(Tributo(folha - exclusao, 10000))});
  }
}

}  // namespace demo
