// Textos do bloco A: fragmentos literais, lado ENT/SAI, argumentos do A100 e dicas de índice.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "blocks/CatalogoBlocos.h"
#include "blocks/BlocosTeste.h"

namespace {

using R = TnArqRepositorioSPEDPisCofinsBlocoA;

TnParansBlocoA Parans(int AMovimento, std::string AEstab = "1") {
  return TnParansBlocoA{1, std::move(AEstab), EncodeDate(2024, 1, 1), EncodeDate(2024, 1, 31), false, AMovimento,
                        false};
}

using TConstrutor = std::function<std::string(const TnParansBlocoA&)>;

const std::vector<std::pair<std::string, TConstrutor>>& Construtores() {
  static const std::vector<std::pair<std::string, TConstrutor>> c = {
      {"A100", R::GetSqlA100}, {"A100Aux", R::GetSqlA100Aux}, {"A110", R::GetSqlA110},
      {"A111", R::GetSqlA111}, {"A120", R::GetSqlA120},       {"A170", R::GetSQLA170},
  };
  return c;
}

std::string Construir(const std::string& ANome, const TnParansBlocoA& p) {
  for (const auto& [nome, f] : Construtores())
    if (nome == ANome) return f(p);
  ADD_FAILURE() << "construtor desconhecido " << ANome;
  return {};
}

size_t Ocorrencias(const std::string& s, const std::string& trecho) {
  size_t n = 0;
  for (size_t p = s.find(trecho); p != std::string::npos; p = s.find(trecho, p + 1)) ++n;
  return n;
}

const char* const kAlternativaEntrada55 =
    "    or (L.CDMODELO = '55'             and exists              (SELECT 1               from LCTOFISENTCFOP LC"
    "               where L.CODIGOEMPRESA = LC.CODIGOEMPRESA                 and L.CHAVELCTOFISENT = "
    "LC.CHAVELCTOFISENT                 and LC.CODIGOCFOP = 1933999                 and LC.TIPOIMPOSTO in (2, 3)))";

class BlocoATextos : public ::testing::Test {
 protected:
  THostTexto FHost;
};

// Fragmentos que distinguem cada registro aparecem byte a byte (com o sufixo do lado já
// aplicado). O filtro de modelo e o de ISS são peças comuns: basta vê-los uma vez por registro.
TEST_F(BlocoATextos, FragmentosLiteraisAparecemByteAByte) {
  struct TCaso {
    const char* Registro;
    int Movimento;
    std::string Trecho;
  };
  const std::string modelo1 =
      " and (L.CDMODELO in ('99')     or (L.CDMODELO in ('3', '3A', '3B', '55', '65')       and exists (SELECT ";
  auto iss = [](const char* lado) {
    return std::string(" and exists (SELECT 1 from LCTOFIS") + lado +
           "CFOP LC  where L.CODIGOEMPRESA = LC.CODIGOEMPRESA  and L.CHAVELCTOFIS" + lado + " = LC.CHAVELCTOFIS" +
           lado + "  and ((LC.TIPOIMPOSTO = 2) or (LC.TIPOIMPOSTO = 3 and LC.CODIGOCFOP = 1933999))) ";
  };
  std::vector<TCaso> casos;
  for (int mov : {0, 1}) {
    const char* lado = mov == 0 ? "ENT" : "SAI";
    for (const char* reg : {"A100", "A100Aux", "A110", "A111", "A170"}) {
      casos.push_back({reg, mov, modelo1});
      casos.push_back({reg, mov, std::string("and L.CHAVELCTOFIS") + lado + " = LC.CHAVELCTOFIS" + lado + " "});
    }
    for (const char* reg : {"A100", "A100Aux", "A111"}) {
      casos.push_back({reg, mov, iss(lado)});
      casos.push_back(
          {reg, mov, "and ((LC.TIPOIMPOSTO = 1) or (LC.TIPOIMPOSTO = 3 and LC.CODIGOCFOP <> 1933999))) "});
    }
    casos.push_back({"A100", mov, " and ((LPC.CODIGOPRODUTO is not null) or (L.CDSITUACAO in (2, 3, 99))) "});
    casos.push_back(
        {"A100Aux", mov, " cast(SUM(LPC.VALORPIS) as numeric(14,2)) + cast(SUM(LPC.VALORCOFINS) as numeric(14,2)) > 0 "});
    casos.push_back({"A110", mov, " and LC.CODOBS0450 is not null "});
    casos.push_back({"A111", mov, "P.CODIGOEMPRESA = LS.CODIGOEMPRESA AND P.NUMPROCREF = LS.NUMPROC"});
    casos.push_back({"A120", mov, " AND LES.DATALCTOFIS BETWEEN :DATAINICIAL AND :DATAFINAL "});
    casos.push_back({"A170", mov, " AND L.CDSITUACAO IN (0, 2, 99) "});
    casos.push_back({"A170", mov, mov == 0 ? "LPC.TIPOCREDITO TIPODEBCRED" : "LPC.TIPODEBITO TIPODEBCRED"});
  }
  for (const char* reg : {"A100", "A170"}) casos.push_back({reg, 0, kAlternativaEntrada55});

  for (const auto& c : casos) {
    SCOPED_TRACE(std::string(c.Registro) + " movimento " + std::to_string(c.Movimento) + ": [" + c.Trecho + "]");
    EXPECT_NE(Construir(c.Registro, Parans(c.Movimento)).find(c.Trecho), std::string::npos);
  }
}

// Os fragmentos brutos mantêm o marcador (também na grafia "%0:S"); só o texto final é formatado.
TEST_F(BlocoATextos, FragmentosBrutosGuardamOMarcadorDoSufixo) {
  const auto p = Parans(1);
  EXPECT_NE(R::GetFiltroCDModelo(p).find("LCTOFIS%0:SCFOP LC"), std::string::npos);
  EXPECT_NE(R::GetFiltroCDModelo(p).find("L.CHAVELCTOFIS%0:S = LC.CHAVELCTOFIS%0:S"), std::string::npos);
  EXPECT_NE(R::GetFiltroTipoImpostoISS(p).find("LCTOFIS%0:SCFOP"), std::string::npos);
  EXPECT_NE(R::GetFiltroIgnorarConjugadas(p).find("LCTOFIS%0:SCFOP"), std::string::npos);
  // A alternativa do modelo 55 é só das entradas, e escrita já com ENT.
  EXPECT_EQ(R::GetFiltroCDModelo(Parans(0)).find(kAlternativaEntrada55) != std::string::npos, true);
  EXPECT_EQ(R::GetFiltroCDModelo(Parans(1)).find("CDMODELO = '55'"), std::string::npos);
  EXPECT_EQ(R::GetFiltroCDModelo(Parans(2)).find("CDMODELO = '55'"), std::string::npos);
}

// TipoMovimento 0 dá ENT em tudo; qualquer outro valor dá SAI; nenhum marcador sobra.
TEST_F(BlocoATextos, SufixoEntSaiPeloTipoMovimento) {
  for (int mov : {0, 1, 2}) {
    for (const auto& [nome, f] : Construtores()) {
      SCOPED_TRACE(nome + " movimento " + std::to_string(mov));
      const std::string sql = f(Parans(mov));
      EXPECT_EQ(sql.find('%'), std::string::npos);
      if (nome == "A120") {
        // Só existe do lado das entradas.
        EXPECT_NE(sql.find("FROM LCTOFISENTSPEDA120 LES"), std::string::npos);
        EXPECT_EQ(sql.find("LCTOFISSAI"), std::string::npos);
        continue;
      }
      if (mov == 0) {
        EXPECT_NE(sql.find("LCTOFISENT L"), std::string::npos);
        EXPECT_EQ(sql.find("LCTOFISSAI"), std::string::npos);
      } else {
        EXPECT_NE(sql.find("LCTOFISSAI L"), std::string::npos);
        EXPECT_EQ(sql.find("LCTOFISENT"), std::string::npos);
      }
    }
  }
}

// A pessoa entra no ORDER BY só nas entradas.
TEST_F(BlocoATextos, PessoaNaOrdemSoNasEntradas) {
  struct TCaso {
    const char* Registro;
    const char* OrdemEntrada;
    const char* OrdemSaida;
  };
  const TCaso casos[] = {
      {"A100", " order by L.DATALCTOFIS, L.CODIGOPESSOA, L.NUMERONF,", " order by L.DATALCTOFIS,  L.NUMERONF,"},
      {"A100Aux", " ORDER BY L.NUMERONF, L.ESPECIENF, L.SERIENF, L.SUBSERIENF, L.DATALCTOFIS ,L.CODIGOPESSOA ",
       " ORDER BY L.NUMERONF, L.ESPECIENF, L.SERIENF, L.SUBSERIENF, L.DATALCTOFIS"},
      {"A110", " order by LC.DATALCTOFIS,  L.CODIGOPESSOA, L.NUMERONF", " order by LC.DATALCTOFIS, L.NUMERONF"},
      {"A111", " ORDER BY LS.DATALCTOFIS, L.CODIGOPESSOA, L.NUMERONF", " ORDER BY LS.DATALCTOFIS, L.NUMERONF"},
      {"A120", " ORDER BY LE.DATALCTOFIS, LE.CODIGOPESSOA, LE.NUMERONF", " ORDER BY LE.DATALCTOFIS, LE.NUMERONF"},
      {"A170", " ORDER BY LP.DATALCTOFIS, L.CODIGOPESSOA, L.NUMERONF", " ORDER BY LP.DATALCTOFIS, L.NUMERONF"},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.Registro);
    EXPECT_NE(Construir(c.Registro, Parans(0)).find(c.OrdemEntrada), std::string::npos);
    const std::string saida = Construir(c.Registro, Parans(1));
    EXPECT_NE(saida.find(c.OrdemSaida), std::string::npos);
    EXPECT_EQ(saida.find("ORDER BY L.NUMERONF, L.ESPECIENF, L.SERIENF, L.SUBSERIENF, L.DATALCTOFIS ,"),
              std::string::npos);
  }
}

// Os cinco argumentos posicionais do A100.
TEST_F(BlocoATextos, A100CincoArgumentosPosicionais) {
  const std::string ent = R::GetSqlA100(Parans(0));
  EXPECT_NE(ent.find(" left join LCTOFISENTRETIDO LR on LR.CODIGOEMPRESA = L.CODIGOEMPRESA "
                     "and LR.CHAVELCTOFISENTRETIDO = L.CHAVELCTOFISENT "),
            std::string::npos);
  EXPECT_NE(ent.find("L.DATALCTOFIS,  L.DATAEMISSAO DATAEMISSAO, L.VALORCONTABIL"), std::string::npos);
  EXPECT_NE(ent.find("L.SUBSERIENF, L.DATALCTOFIS,  L.DATAEMISSAO, L.VALORCONTABIL"), std::string::npos);
  EXPECT_EQ(ent.find("DATAPRESTACAOSERVICO"), std::string::npos);
  EXPECT_NE(ent.find("L.CHAVENFEENT CHAVENFE"), std::string::npos);

  for (int mov : {1, 2}) {
    SCOPED_TRACE(mov);
    const std::string sai = R::GetSqlA100(Parans(mov));
    EXPECT_NE(sai.find(" left join LCTOFISSAIRETIDO LR on LR.CODIGOEMPRESA = L.CODIGOEMPRESA "
                       "and LR.CHAVELCTOFISSAI = L.CHAVELCTOFISSAI "),
              std::string::npos);
    // Nas saídas a data do lançamento vai como DATAEMISSAO e a do serviço também é lida e agrupada.
    EXPECT_NE(sai.find("L.DATALCTOFIS, L.DATAPRESTACAOSERVICO,  L.DATALCTOFIS DATAEMISSAO,"), std::string::npos);
    EXPECT_NE(sai.find("L.DATALCTOFIS, L.DATAPRESTACAOSERVICO,  L.DATALCTOFIS, L.VALORCONTABIL"), std::string::npos);
    EXPECT_EQ(sai.find("L.DATAEMISSAO"), std::string::npos);
    EXPECT_EQ(Ocorrencias(sai, "L.DATAPRESTACAOSERVICO"), 2u);
  }
}

// Com EhKorvel falso nenhum comentário de dica; forçado, as dicas entram e o resto não muda.
TEST_F(BlocoATextos, DicasDeIndiceSoComKorvelForcado) {
  const std::string dicaA170Saida =
      "  /*+  INDEX(L IXLCTOFISSAI) INDEX(FKLCTOFISSAIPRODUTOLCTOFISSAI) INDEX(PR PKPRODUTO) INDEX(LPC "
      "PKLCTOFISSAIPISCOFINS) */ ";
  const std::string dicaA170Entrada =
      " /*+ INDEX(LP FKLCTOFISENTPRODUTOLCTOFISENT) INDEX(PE PKPESSOA) INDEX(L IXLCTOFISENT) INDEX(LPC "
      "PKLCTOFISENTPISCOFINS) */ ";
  for (int mov : {0, 1, 2}) {
    for (const auto& [nome, f] : Construtores()) {
      SCOPED_TRACE(nome + " movimento " + std::to_string(mov));
      FHost.ForcarKorvel(false);
      const std::string sem = f(Parans(mov));
      EXPECT_EQ(sem.find("/*+"), std::string::npos);
      EXPECT_EQ(R::GetIndexKorvelA170(Parans(mov)), "");
      EXPECT_EQ(R::GetIndexKorvelCDModelo(Parans(mov)), "");

      FHost.ForcarKorvel(true);
      std::string com = f(Parans(mov));
      const std::string dicaModelo =
          std::string(" /*+ INDEX(LC PKLCTOFIS") + (mov == 0 ? "ENT" : "SAI") + "CFOP) */ ";
      if (nome == "A120") {
        EXPECT_EQ(com, sem);
        continue;
      }
      EXPECT_NE(com.find(dicaModelo), std::string::npos);
      if (nome == "A170") {
        // A dica do A170 testa TipoMovimento = 1; o 2 leva a dica das entradas.
        const std::string& dica = mov == 1 ? dicaA170Saida : dicaA170Entrada;
        EXPECT_EQ(com.rfind("SELECT " + dica, 0), 0u);
        com.erase(com.find(dica), dica.size());
      }
      // Sem as dicas, o texto é o mesmo.
      for (size_t p; (p = com.find(dicaModelo)) != std::string::npos;) com.erase(p, dicaModelo.size());
      EXPECT_EQ(com, sem);
    }
  }
  FHost.ForcarKorvel(false);
}

// O A120 não tem marcador: entradas e saídas só diferem pela pessoa na ordem.
TEST_F(BlocoATextos, A120IgualNosDoisLadosSalvoAPessoa) {
  std::string ent = R::GetSqlA120(Parans(0));
  const std::string sai = R::GetSqlA120(Parans(1));
  EXPECT_NE(ent, sai);
  ent.erase(ent.rfind("LE.CODIGOPESSOA, LE.NUMERONF"), std::string("LE.CODIGOPESSOA, ").size());
  EXPECT_EQ(ent, sai);
}

}  // namespace
